// The two rules of the extension's manifest that VS Code applies as JavaScript regular
// expressions: the first line that makes a .asm file Zolt (against first_lines.txt, the table the
// Vim test reads too, and the examples), and the problem matcher's pattern against output in the
// form of zolt check.
//   node tests/editors/vscode_rules_test.js
'use strict';
const assert = require('node:assert/strict');
const fs = require('node:fs');
const path = require('node:path');

const root = path.resolve(__dirname, '../..');
const manifest = JSON.parse(fs.readFileSync(path.join(root, 'editors/vscode/package.json'), 'utf8'));
const failures = [];
function check(name, test) {
    try {
        test();
    } catch (error) {
        failures.push(`${name}: ${error.message}`);
    }
}

check('firstLine', () => {
    const [language] = manifest.contributes.languages;
    const firstLine = new RegExp(language.firstLine);
    const rows = fs.readFileSync(path.join(__dirname, 'first_lines.txt'), 'utf8').split('\n')
        .map((line) => /^(zolt|other)\t(.*)$/.exec(line)).filter(Boolean)
        .map(([, kind, line]) => [line, kind === 'zolt']);
    for (const example of fs.readdirSync(path.join(root, 'examples')).filter((f) => f.endsWith('.asm'))) {
        rows.push([fs.readFileSync(path.join(root, 'examples', example), 'utf8').split('\n')[0], true]);
    }
    assert.ok(rows.length > 10, `only ${rows.length} first lines`);
    const wrong = rows.filter(([line, zolt]) => firstLine.test(line) !== zolt);
    assert.deepEqual(wrong, []);
});

check('problem matcher', () => {
    const [matcher] = manifest.contributes.problemMatchers;
    assert.equal(matcher.name, 'zolt');
    const { regexp, file, line, column, severity, message, code } = matcher.pattern;
    const pattern = new RegExp(regexp);
    const found = fs.readFileSync(path.join(__dirname, 'zolt_check_output.txt'), 'utf8').split('\n')
        .map((text) => pattern.exec(text)).filter(Boolean)
        .map((m) => [m[file], m[line], m[column], m[severity], m[message], m[code]]);
    assert.deepEqual(found, [
        ['prog.asm', '3', '2', 'error', 'invalid instruction "foo 5"', 'invalid-instruction'],
        ['prog.asm', '7', '1', 'warning', 'label "loopx" has no colon, so its name is "loop"', 'label-without-colon'],
        ['prog.asm', '5', '1', 'note', '"loop" is first defined here', 'duplicate-label'],
        ['lib/serial io.asm', '12', '14', 'warning', 'unused constant "BAUD"', 'unused-constant'],
        ['lib/serial io.asm', '1', '1', 'error', 'the text "x [y]" is not a number', 'invalid-number'],
    ]);
});

for (const failure of failures) {
    console.log(failure);
}
console.log(`vscode rules: ${failures.length} failures`);
process.exit(failures.length ? 1 : 0);
