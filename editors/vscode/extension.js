'use strict';
// Starts the zolt language server for Zolt sources. Highlighting, snippets and the problem
// matcher need nothing from here; without a zolt program they still work.
const vscode = require('vscode');
const { LanguageClient } = require('vscode-languageclient/node');

let client;

function serverCommand() {
    const settings = vscode.workspace.getConfiguration('zolt');
    return { command: settings.get('path') || 'zolt', args: settings.get('serverArguments') || ['lsp'] };
}

async function startClient() {
    const server = serverCommand();
    client = new LanguageClient('zolt', 'Zolt language server', server, {
        documentSelector: [{ language: 'zolt' }],
    });
    try {
        await client.start();
    } catch (error) {
        // One message, not the client's repeated restarts: a missing zolt is a setup matter.
        client = undefined;
        vscode.window.showWarningMessage(
            `Zolt: the language server "${server.command} ${server.args.join(' ')}" did not start ` +
                `(${error.message}); set zolt.path to the zolt program.`);
    }
}

async function stopClient() {
    if (client) {
        const stopping = client;
        client = undefined;
        await stopping.stop();
    }
}

async function activate(context) {
    context.subscriptions.push(
        vscode.workspace.onDidChangeConfiguration(async (change) => {
            if (change.affectsConfiguration('zolt.path') || change.affectsConfiguration('zolt.serverArguments')) {
                await stopClient();
                await startClient();
            }
        }),
        { dispose: stopClient });
    await startClient();
}

function deactivate() {
    return stopClient();
}

module.exports = { activate, deactivate };
