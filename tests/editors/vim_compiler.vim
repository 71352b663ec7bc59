" The compiler plugin in the editor's own quickfix list: :make on a Zolt buffer runs zolt check on
" the file (a stand-in zolt prints diagnostics in zolt check's form) and every diagnostic becomes
" an entry with its file, line, byte column, kind and text; the other lines are passed over.
" Runs in Vim and in Neovim: tests/editors/run_editor_test.sh nvim vim_compiler.vim

set nocompatible
let s:root = $ZOLT_ROOT
execute 'set runtimepath^=' . fnameescape(s:root . '/editors/vim')
filetype plugin on
let s:failures = []

try
  " The stand-in zolt, first on the PATH; it logs its command line.
  call mkdir('bin')
  call writefile(['#!/bin/sh', 'exec python3 ' . shellescape(s:root . '/tests/editors/fake_zolt.py')
        \ . ' "$@"'], 'bin/zolt')
  call setfperm('bin/zolt', 'rwxr-xr-x')
  let $PATH = getcwd() . '/bin:' . $PATH
  let $ZOLT_FAKE_LOG = getcwd() . '/zolt.log'

  call writefile(["\tlda 5", 'loop:', "\tfoo 5"], 'prog.zolt')
  " A .asm name as users give it; the quickfix entries name prog.asm as zolt check prints it.
  call writefile(['; zolt', "\tfoo 5"], 'prog.asm')
  edit prog.asm
  if &filetype !=# 'zolt' || &makeprg !~# '^zolt check '
    call add(s:failures, 'the buffer is ' . string(&filetype) . ' with makeprg ' . string(&makeprg))
  endif
  silent make!
  let command = readfile('zolt.log')
  if command !=# ['check prog.asm']
    call add(s:failures, 'zolt was run as ' . string(command))
  endif

  let expected = [
        \ ['prog.asm', 3, 2, 'e', 'invalid instruction "foo 5" [invalid-instruction]'],
        \ ['prog.asm', 7, 1, 'w', 'label "loopx" has no colon, so its name is "loop" [label-without-colon]'],
        \ ['prog.asm', 5, 1, 'n', '"loop" is first defined here [duplicate-label]'],
        \ ['lib/serial io.asm', 12, 14, 'w', 'unused constant "BAUD" [unused-constant]'],
        \ ['lib/serial io.asm', 1, 1, 'e', 'the text "x [y]" is not a number [invalid-number]'],
        \ ]
  let entries = map(getqflist(), '[bufname(v:val.bufnr), v:val.lnum, v:val.col, v:val.type, v:val.text, v:val.valid]')
  if len(entries) != len(expected)
    call add(s:failures, len(entries) . ' quickfix entries, ' . len(expected) . ' expected: ' . string(entries))
  endif
  for i in range(min([len(entries), len(expected)]))
    if entries[i] !=# expected[i] + [1]
      call add(s:failures, 'entry ' . (i + 1) . ' is ' . string(entries[i]) . ', not ' . string(expected[i]))
    endif
  endfor
catch
  call add(s:failures, 'error: ' . v:exception . ' at ' . v:throwpoint)
endtry

call writefile(s:failures + [printf('quickfix: %d failures', len(s:failures))], $ZOLT_REPORT)
execute empty(s:failures) ? 'qall!' : 'cquit!'
