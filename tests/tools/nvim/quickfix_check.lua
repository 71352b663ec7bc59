-- Loads check.txt into the quickfix list and compares every entry with what zolt check said.
vim.o.errorformat = '%f:%l:%c: %t%*[^:]: %m'
vim.cmd('cgetfile check.txt')
local expected = {
  { 'bad.asm', 2, 6, 'e', 'Undefined label "missing"' },
  { 'bad.asm', 3, 2, 'e', 'Invalid instruction foo 5!' },
  { 'bad.asm', 4, 6, 'w', '"nop" takes no operand' },
  { 'bad.asm', 5, 1, 'w', 'Unused label "twice"!' },
  { 'bad.asm', 6, 1, 'w', 'Unused label "twice"!' },
  { 'bad.asm', 6, 1, 'w', 'is defined again' },
  { 'bad.asm', 5, 1, 'n', 'first defined here' },
}
local list = vim.fn.getqflist()
local failures = {}
if #list ~= #expected then
  table.insert(failures, ('%d entries, expected %d'):format(#list, #expected))
end
for i, want in ipairs(expected) do
  local got = list[i]
  if got == nil then break end
  local name = vim.fn.fnamemodify(vim.fn.bufname(got.bufnr), ':t')
  if name ~= want[1] or got.lnum ~= want[2] or got.col ~= want[3] or got.type ~= want[4]
      or not got.text:find(want[5], 1, true) or got.valid ~= 1 then
    table.insert(failures, ('entry %d: %s:%d:%d %s "%s"'):format(i, name, got.lnum, got.col,
      got.type, got.text))
  end
end
if #failures > 0 then
  io.stderr:write(table.concat(failures, '\n') .. '\n')
  vim.cmd('cquit 1')
end
print('quickfix: ' .. #list .. ' entries as zolt check reported them')
