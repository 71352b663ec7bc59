" The content rule of ftdetect/zolt.vim in the editor's own filetype detection: every *.zolt file
" is Zolt, and a *.asm file is when first_lines.txt says so (the table the VS Code test reads too)
" and for the first line of every example. Runs in Vim and in Neovim:
"   tests/editors/run_editor_test.sh nvim vim_filetype.vim

set nocompatible
let s:root = $ZOLT_ROOT
execute 'set runtimepath^=' . fnameescape(s:root . '/editors/vim')
filetype on
let s:failures = []
let s:checked = 0

function! s:Check(name, first_line, zolt) abort
  call writefile([a:first_line, "\tnop"], a:name)
  execute 'edit ' . fnameescape(a:name)
  let s:checked += 1
  if (&filetype ==# 'zolt') != a:zolt
    call add(s:failures, printf('%s starting %s is %s', a:name, string(a:first_line),
          \ string(&filetype)))
  endif
  bwipeout!
endfunction

try
  for line in readfile(s:root . '/tests/editors/first_lines.txt')
    let row = matchlist(line, '^\(zolt\|other\)\t\(.*\)$')
    if !empty(row)
      call s:Check('case.asm', row[2], row[1] ==# 'zolt')
    endif
  endfor
  for example in glob(s:root . '/examples/*.asm', 1, 1)
    call s:Check(fnamemodify(example, ':t'), readfile(example, '', 1)[0], 1)
  endfor
  call s:Check('any.zolt', '; any first line', 1)
  call s:Check('any.zolt', 'section .text', 1)
catch
  call add(s:failures, 'error: ' . v:exception . ' at ' . v:throwpoint)
endtry

if s:checked < 10
  call add(s:failures, 'only ' . s:checked . ' files were checked')
endif
call writefile(s:failures + [printf('filetype: %d files checked, %d failures', s:checked,
      \ len(s:failures))], $ZOLT_REPORT)
execute empty(s:failures) ? 'qall!' : 'cquit!'
