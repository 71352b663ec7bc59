" Zolt sources: every *.zolt file, and a *.asm file whose first line is a comment that names Zolt
" (the word zolt, zoltas or zoltdis in any case) or a constant definition such as ".c SIZE=8".
" VS Code applies the same rule to the first line. Vim's own rule has made a *.asm file "asm" by
" the time this runs, so the type is set outright; the asm plugin marks the buffer as done with
" no way to undo it, which would keep the Zolt plugin from loading.
autocmd BufNewFile,BufRead *.zolt setfiletype zolt
autocmd BufNewFile,BufRead *.asm
      \ if getline(1) =~# '^\%(;.*[A-Za-z0-9_]\@<![Zz][Oo][Ll][Tt]\%([Aa][Ss]\|[Dd][Ii][Ss]\)\='
      \ . '[A-Za-z0-9_]\@!\|\.c [^ =][^=]*=\)'
      \ | unlet! b:did_ftplugin
      \ | set filetype=zolt
      \ | endif
