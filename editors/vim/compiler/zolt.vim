" Vim compiler file
" Compiler:	zolt check, the diagnostics of the Zolt assembler

if exists('current_compiler')
  finish
endif
let current_compiler = 'zolt'

if exists(':CompilerSet') != 2
  command -nargs=* CompilerSet setlocal <args>
endif
let s:cpo_save = &cpo
set cpo&vim

" zolt check FILE prints one FILE:LINE:COLUMN: KIND: TEXT [NAME] line per diagnostic, the column
" in bytes with a TAB as one, as %c counts; anything else it prints is passed over.
" g:zolt_path names the program when it is not zolt on the PATH.
execute 'CompilerSet makeprg=' . escape(get(g:, 'zolt_path', 'zolt'), ' \|"') . '\ check\ %:S'
CompilerSet errorformat=%f:%l:%c:\ %trror:\ %m,%f:%l:%c:\ %tarning:\ %m,%f:%l:%c:\ %tote:\ %m,
      \%-G%.%#

let &cpo = s:cpo_save
unlet s:cpo_save
