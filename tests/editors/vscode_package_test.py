#!/usr/bin/env python3
"""The extension packaged by @vscode/vsce, then read back from the .vsix: its manifest must name
the language, the grammar, the snippets, the problem matcher and the server command, and every
file they name, the language client included, must be inside the package.

usage: vscode_package_test.py OUTPUT-DIRECTORY     (exit status 77: node or node_modules missing)
"""
import json
import shutil
import subprocess
import sys
import zipfile
from pathlib import Path

extension = Path(__file__).resolve().parents[2] / "editors" / "vscode"
vsce = extension / "node_modules" / "@vscode" / "vsce" / "vsce"
if shutil.which("node") is None or not vsce.exists():
    print("SKIP: needs node and the extension's npm packages (Debian: nodejs npm; then "
          "npm ci --ignore-scripts in editors/vscode)")
    sys.exit(77)

package = Path(sys.argv[1]) / "zolt.vsix"
package.unlink(missing_ok=True)
subprocess.run(["node", str(vsce), "package", "--skip-license", "--allow-missing-repository",
                "--out", str(package)], cwd=extension, check=True)

failures = []


def check(condition, text):
    if not condition:
        failures.append(text)


with zipfile.ZipFile(package) as archive:
    names = set(archive.namelist())
    vsix_manifest = archive.read("extension.vsixmanifest").decode()
    check('Type="Microsoft.VisualStudio.Code.Manifest" Path="extension/package.json"' in vsix_manifest,
          "extension.vsixmanifest does not point at extension/package.json")
    manifest = json.loads(archive.read("extension/package.json"))
    contributes = manifest["contributes"]

    def packaged(relative):
        return "extension/" + str(Path(relative))

    check(manifest["main"] and packaged(manifest["main"]) in names, "the main script is missing")
    check(packaged("node_modules/vscode-languageclient/package.json") in names,
          "vscode-languageclient is not packaged")
    check(not any(n.startswith("extension/node_modules/@vscode/vsce/") for n in names),
          "a development package is packaged")

    [language] = contributes["languages"]
    check(language["id"] == "zolt" and ".zolt" in language["extensions"] and language["firstLine"],
          f"language: {language}")
    check(packaged(language["configuration"]) in names, "the language configuration is missing")

    [grammar] = contributes["grammars"]
    check((grammar["language"], grammar["scopeName"]) == ("zolt", "source.zolt"), f"grammar: {grammar}")
    source = (extension / grammar["path"]).read_bytes()
    check(packaged(grammar["path"]) in names and archive.read(packaged(grammar["path"])) == source,
          "the packaged grammar is not the grammar")
    check(json.loads(source)["scopeName"] == "source.zolt", "the grammar's scope is not source.zolt")

    [snippets] = contributes["snippets"]
    check(snippets["language"] == "zolt" and packaged(snippets["path"]) in names, f"snippets: {snippets}")

    [matcher] = contributes["problemMatchers"]
    check(matcher["name"] == "zolt" and matcher["pattern"]["regexp"], f"problem matcher: {matcher}")

    settings = contributes["configuration"]["properties"]
    server = [settings["zolt.path"]["default"]] + settings["zolt.serverArguments"]["default"]
    check(server == ["zolt", "lsp"], f"the server command is {server}, not zolt lsp")
    check("onLanguage:zolt" in manifest["activationEvents"], "the client does not start for zolt")

    defaults = contributes["configurationDefaults"]["[zolt]"]
    check(defaults["editor.insertSpaces"] is False and defaults["files.trimTrailingWhitespace"] is False,
          "Zolt buffers may lose their TABs or trailing blanks")

for failure in failures:
    print(failure)
print(f"vsix: {len(names)} files, {len(failures)} failures")
sys.exit(1 if failures else 0)
