" Vim filetype plugin file
" Language:	Zolt assembly, as zoltas reads it

if exists('b:did_ftplugin')
  finish
endif
let b:did_ftplugin = 1

" An instruction line starts with a real TAB, and a trailing blank belongs to a string or a name:
" nothing here may turn TABs into blanks.
setlocal noexpandtab tabstop=8 shiftwidth=0 softtabstop=0
" A comment line has its ";" in the first column; after a TAB it is a remark that places a word.
setlocal commentstring=;%s comments=:;
compiler zolt

let b:undo_ftplugin = 'setlocal expandtab< tabstop< shiftwidth< softtabstop< commentstring<'
      \ . ' comments< makeprg< errorformat< | unlet! b:current_compiler'
