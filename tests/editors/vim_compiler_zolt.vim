" The compiler plugin with the real zolt (its directory is $ZOLT_ARG): :make on a Zolt buffer
" fills the quickfix list from zolt check, every diagnostic with its file, line, column and kind.
"   tests/editors/run_editor_test.sh vim vim_compiler_zolt.vim BUILD_DIRECTORY

set nocompatible
execute 'set runtimepath^=' . fnameescape($ZOLT_ROOT . '/editors/vim')
filetype plugin on
let s:failures = []
try
  let $PATH = $ZOLT_ARG . ':' . $PATH
  call writefile(['; zolt', 'start:', "\tlda /missing", "\tfoo 5", "\tnop 5", 'twice:', 'twice:',
        \ "\tjmp /start", '; end'], 'prog.asm')
  edit prog.asm
  silent make!
  let expected = [
        \ ['prog.asm', 3, 6, 'e', 'Undefined label "missing" (after the first error, where zoltas stops) [undefined-label]'],
        \ ['prog.asm', 4, 2, 'e', 'Invalid instruction foo 5! [invalid-instruction]'],
        \ ['prog.asm', 5, 6, 'w', '"nop" takes no operand: "5" is ignored [operand-ignored]'],
        \ ['prog.asm', 6, 1, 'w', 'Unused label "twice"! [unused-label]'],
        \ ['prog.asm', 7, 1, 'w', 'Unused label "twice"! [unused-label]'],
        \ ['prog.asm', 7, 1, 'w', 'label "twice" is defined again: references reach the first definition, on line 6 [duplicate-symbol]'],
        \ ['prog.asm', 6, 1, 'n', 'first defined here'],
        \ ]
  let entries = map(getqflist(), '[bufname(v:val.bufnr), v:val.lnum, v:val.col, v:val.type, v:val.text]')
  if entries !=# expected
    call add(s:failures, 'quickfix: ' . string(entries))
  endif
catch
  call add(s:failures, 'error: ' . v:exception . ' at ' . v:throwpoint)
endtry
call writefile(s:failures + [printf('quickfix with zolt: %d failures', len(s:failures))], $ZOLT_REPORT)
execute empty(s:failures) ? 'qall!' : 'cquit!'
