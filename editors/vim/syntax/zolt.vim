" Vim syntax file
" Language:	Zolt assembly, as zoltas reads it
"
" The first character of a line decides its class: ";" a comment, "." a directive, a TAB an
" instruction, anything else a label; a line of one or two characters is skipped. Every item
" below starts at column 0 and hands on to the next with nextgroup, since meaning depends on
" fixed positions, not on words. Where several items start at one column, the one defined last
" wins: the fallbacks come first. Text the assembler passes over is zoltIgnored.

if exists('b:current_syntax')
  finish
endif
let s:cpo_save = &cpo
set cpo&vim

syn case match
syn sync minlines=1

" The mnemonics by their size in words, and the control directives in the order zoltas tests
" them; a test checks these lists against the assembler's tables.
let s:one_word = [
      \ 'nop', 'add', 'sub', 'and', 'or', 'ngt', 'not', 'xor', 'shl', 'shr', 'rol', 'rlc',
      \ 'ror', 'rrc', 'tab', 'tba', 'tax', 'txa', 'tay', 'tya', 'tsa', 'inc', 'dec', 'inx',
      \ 'dex', 'iny', 'dey', 'clc', 'cle', 'clr', 'cls', 'cid', 'sid', 'jta', 'jtb', 'jia',
      \ 'jib', 'cpb', 'cpx', 'cpy', 'rts', 'rti', 'psh', 'psha', 'pop', 'popa', 'pshrt', 'poprt',
      \ 'pshir', 'popir', 'reset', 'wait', 'cpxy', 'inb', 'deb', 'pshb', 'popb', 'pshx', 'popx', 'pshy',
      \ 'popy', 'jtx', 'jty', 'tbx', 'txb', 'tby', 'tyb', 'txy', 'tyx', 'in16', 'de16', 'rsp',
      \ 'rvd', 'swn', 'rspop', 'sec', 'su1', 'cu1', 'su2', 'cu2', 'brk', 'hlt',
      \ ]
let s:two_word = [
      \ 'lda', 'ldb', 'ldx', 'ldy', 'ldan', 'ldbn', 'ldxn', 'ldyn', 'ldai', 'ldbi', 'ldxi', 'ldyi',
      \ 'sta', 'stb', 'stx', 'sty', 'sts', 'mova', 'movb', 'movx', 'movy', 'swa', 'swb', 'swx',
      \ 'swy', 'adn', 'sun', 'jmp', 'jti', 'jax', 'jsx', 'jay', 'jsy', 'jiax', 'jisx', 'jiay',
      \ 'jisy', 'jsr', 'jsi', 'cpan', 'cpbn', 'cpxn', 'cpyn', 'cpai', 'cpbi', 'cpxi', 'cpyi', 'beq',
      \ 'bne', 'bei', 'bni', 'bcs', 'bcc', 'bso', 'pshn', 'staax', 'staay', 'stbax', 'stbay', 'stasx',
      \ 'stasy', 'stbsx', 'stbsy', 'stai', 'stbi', 'stxi', 'styi', 'staiax', 'staiay', 'stbiax', 'stbiay', 'staisx',
      \ 'staisy', 'stbisx', 'stbisy', 'ldaax', 'ldaay', 'ldbax', 'ldbay', 'ldasx', 'ldasy', 'ldbsx', 'ldbsy', 'ldaiax',
      \ 'ldaiay', 'ldbiax', 'ldbiay', 'ldaisx', 'ldaisy', 'ldbisx', 'ldbisy', 'bgt', 'bge', 'blt', 'ble', 'bnl',
      \ 'bzs', 'bzc', 'snda', 'sndb', 'sndx', 'sndy', 'rcva', 'rcvb', 'rcvx', 'rcvy', 'inm', 'dem',
      \ 'adm', 'sum', 'adi', 'sui', 'jsph', 'b1s', 'b1c', 'b2s', 'b2c', 'pshs', 'sndn',
      \ ]
let s:control_directives = [
      \ 'literal', 'general', 'start', 'align', 'end', 'org', 'rel', 'lim', 'out', 'mess', 'addr',
      \ 'pause', 'lfree', 'free', 'prompt', 'cstart', 'cstop', 'creset', 'cshow', 'nowarn', 'dowarn', 'binary',
      \ ]
let s:with_argument = ['org', 'lim', 'rel', 'out', 'mess']

syn match zoltIgnored contained ".\+"

" Numbers as zoltas reads them: "$" hexadecimal, "%" binary, otherwise decimal, each ending at
" the first character that cannot continue it; what strtol skips may come first. Inside the
" token of .org and .lim a blank, TAB or ";" has already ended the text.
syn cluster zoltNumber contains=zoltBadNumber,zoltHex,zoltBinary,zoltDecimal,zoltDecimalSpace
syn cluster zoltToken contains=zoltBadNumber,zoltTokenHex,zoltTokenBinary,zoltTokenDecimal
syn match zoltBadNumber contained ".\+"
syn match zoltHex contained "\$[\t \x0b\x0c\r]*[+-]\=\%(0[xX]\x\@=\)\=\x\+" nextgroup=zoltIgnored
syn match zoltBinary contained "%[\t \x0b\x0c\r]*[+-]\=[01]\+" nextgroup=zoltIgnored
syn match zoltDecimalSpace contained "[\t \x0b\x0c\r]\+\%([+-]\=\d\)\@=" nextgroup=zoltDecimal
syn match zoltDecimal contained "[+-]\=\d\+" nextgroup=zoltIgnored
syn match zoltTokenHex contained "\$[\x0b\x0c\r]*[+-]\=\%(0[xX]\x\@=\)\=\x\+" nextgroup=zoltIgnored
syn match zoltTokenBinary contained "%[\x0b\x0c\r]*[+-]\=[01]\+" nextgroup=zoltIgnored
syn match zoltTokenDecimal contained "[\x0b\x0c\r]*[+-]\=\d\+" nextgroup=zoltIgnored

" References: the name ends at a blank or TAB; a ";" ends it too but belongs to it.
syn match zoltLabelRef contained "/[^\t ;]*;\=" nextgroup=zoltIgnored
syn match zoltConstantRef contained "\\[^\t ;]*;\=" nextgroup=zoltIgnored

syn match zoltComment "^;.*"

" Directives. A line that matches no name and no data letter is ignored by zoltas.
syn match zoltUnknownDirective "^\..*"

" Data directives: the letter, one skipped character, the argument from the fourth on.
syn match zoltDataDirective "^\.d" nextgroup=zoltDataSkip
syn match zoltDataSkip contained "." nextgroup=zoltLabelRef,zoltConstantRef,@zoltNumber
syn match zoltDataDirective "^\.a" nextgroup=zoltCharacterSkip
syn match zoltCharacterSkip contained "." nextgroup=zoltCharacter
syn match zoltCharacter contained "." nextgroup=zoltIgnored
" A string runs from the argument's first character to the line's last, both delimiters.
syn match zoltDataDirective "^\.[zs]" nextgroup=zoltStringSkip
syn match zoltStringSkip contained "." nextgroup=zoltString
syn match zoltString contained ".\+" contains=zoltStringDelimiter
syn match zoltStringDelimiter contained "\%(^.\{3}\)\@<=.\|.$"
" A constant's name runs to the first "="; without one, or with nothing after it, the value is
" missing.
syn match zoltDataDirective "^\.c" nextgroup=zoltConstantSkip
syn match zoltConstantSkip contained "." nextgroup=zoltConstantName,zoltAssign,zoltBadConstant
syn match zoltConstantName contained "[^=]\+=\@=" nextgroup=zoltAssign,zoltBadConstant
syn match zoltAssign contained "=.\@=" nextgroup=@zoltNumber
syn match zoltBadConstant contained "=$\|[^=]\+$"

" Control directives, by prefix and with case: ".endless" is ".end", ".END" is nothing.
execute 'syn match zoltDirective "^\.\%('
      \ . join(filter(copy(s:control_directives), 'index(s:with_argument, v:val) < 0'), '\|')
      \ . '\)" nextgroup=zoltIgnored'
" .org and .lim: one skipped character, then one token read as a number.
syn match zoltDirective "^\.\%(org\|lim\)" nextgroup=zoltTokenSkip
syn match zoltTokenSkip contained "." nextgroup=@zoltToken
" .rel: one skipped character, the sign, then the number.
syn match zoltDirective "^\.rel" nextgroup=zoltSignSkip
syn match zoltSignSkip contained "." nextgroup=zoltSign,zoltBadSign
syn match zoltSign contained "[+-]" nextgroup=@zoltNumber
syn match zoltBadSign contained "[^+-]" nextgroup=@zoltNumber
" .out and .mess: one skipped character, then the rest of the line as it stands.
syn match zoltDirective "^\.out" nextgroup=zoltFilenameSkip
syn match zoltFilenameSkip contained "." nextgroup=zoltFilename
syn match zoltFilename contained ".\+"
syn match zoltDirective "^\.mess" nextgroup=zoltMessageSkip
syn match zoltMessageSkip contained "." nextgroup=zoltMessage
syn match zoltMessage contained ".\+"
" Three characters, or an argument directive without room for its argument.
syn match zoltBadDirective "^\..\{2}$\|^\.\%(org\|lim\|out\).\=$\|^\.rel.\{,2}$"

" Instructions: a TAB, the mnemonic in any case, and for two words one separator, further
" blanks and TABs, then the operand. A mnemonic ends at a separator that is not the line's last
" character. A TAB and ";", a mnemonic that starts with ".", or one of one character is a
" remark that places a 0 word.
syn match zoltInstruction "^\t"
      \ nextgroup=zoltBadInstruction,zoltRemark,zoltMnemonic1,zoltMnemonic2,zoltMissingOperand
syn match zoltBadInstruction contained ".\+"
syn match zoltRemark contained ";" nextgroup=zoltIgnored
syn match zoltRemark contained "\.[^\t ;]*\%([\t ;]$\)\=" nextgroup=zoltIgnored
syn match zoltRemark contained "[^\t ;.]\%([\t ;].\)\@=" nextgroup=zoltIgnored
execute 'syn match zoltMnemonic1 contained "\c\%(' . join(s:one_word, '\|')
      \ . '\)\%([\t ;].\|$\)\@=" nextgroup=zoltIgnored'
execute 'syn match zoltMnemonic2 contained "\c\%(' . join(s:two_word, '\|')
      \ . '\)\%([\t ;][\t ]*[^\t ;]\)\@=" nextgroup=zoltOperandSkip'
execute 'syn match zoltMissingOperand contained "\c\%(' . join(s:two_word, '\|')
      \ . '\)\%([\t ;][\t ]*;\|[\t ;][\t ]\+$\|$\)\@=" nextgroup=zoltIgnored'
syn match zoltOperandSkip contained "[\t ;][\t ]*"
      \ nextgroup=zoltLabelRef,zoltConstantRef,@zoltNumber

" Labels: the name runs to the first ":"; without one the line's last character is dropped.
syn match zoltLabel "^[^;.\t:][^:]*:\@=" nextgroup=zoltLabelColon
syn match zoltLabelColon contained ":" nextgroup=zoltIgnored
syn match zoltLabelColon "^:" nextgroup=zoltIgnored
syn match zoltLabel "^[^;.\t:][^:]*\%([^:]$\)\@=" nextgroup=zoltLabelDropped
syn match zoltLabelDropped contained "."

" Last, so that it wins over every class at column 0.
syn match zoltSkipped "^.\{1,2}$"

hi def link zoltSkipped Comment
hi def link zoltComment Comment
hi def link zoltIgnored Comment
hi def link zoltRemark SpecialComment
hi def link zoltMnemonic1 Statement
hi def link zoltMnemonic2 Statement
hi def link zoltMissingOperand Error
hi def link zoltBadInstruction Error
hi def link zoltDirective PreProc
hi def link zoltDataDirective Type
hi def link zoltUnknownDirective WarningMsg
hi def link zoltBadDirective Error
hi def link zoltSign Operator
hi def link zoltBadSign Error
hi def link zoltHex Number
hi def link zoltBinary Number
hi def link zoltDecimal Number
hi def link zoltTokenHex Number
hi def link zoltTokenBinary Number
hi def link zoltTokenDecimal Number
hi def link zoltBadNumber Error
hi def link zoltLabelRef Identifier
hi def link zoltConstantRef Identifier
hi def link zoltLabel Function
hi def link zoltLabelColon Delimiter
hi def link zoltLabelDropped WarningMsg
hi def link zoltConstantName Function
hi def link zoltAssign Operator
hi def link zoltBadConstant Error
hi def link zoltString String
hi def link zoltStringDelimiter Delimiter
hi def link zoltCharacter Character
hi def link zoltFilename String
hi def link zoltMessage String

let b:current_syntax = 'zolt'
let &cpo = s:cpo_save
unlet s:cpo_save
