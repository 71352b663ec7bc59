// The rule of the extension's manifest that VS Code applies as a JavaScript regular expression:
// the first line that makes a .asm file Zolt, against first_lines.txt (the table the Vim test
// reads too) and the examples.
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

for (const failure of failures) {
    console.log(failure);
}
console.log(`vscode rules: ${failures.length} failures`);
process.exit(failures.length ? 1 : 0);
