" Reads the annotated samples that vscode-tmgrammar-test checks the TextMate grammar against and
" checks the Vim syntax at the same columns: each asserted scope stands for one Vim group, so the
" two highlighters must agree on every token class. Runs in Vim and in Neovim:
"   tests/editors/run_editor_test.sh nvim vim_highlighting.vim
" The failures go to the report file; the exit status is 1 when there is one.

set nocompatible
let s:root = $ZOLT_ROOT
execute 'set runtimepath^=' . fnameescape(s:root . '/editors/vim')
syntax on

" Every scope the grammar gives a token, and the Vim groups that stand for it.
let s:groups = {
      \ 'comment.line.skipped.zolt': ['zoltSkipped'],
      \ 'comment.line.semicolon.zolt': ['zoltComment'],
      \ 'comment.line.ignored.zolt': ['zoltIgnored'],
      \ 'keyword.other.remark.zolt': ['zoltRemark'],
      \ 'keyword.other.mnemonic.one-word.zolt': ['zoltMnemonic1'],
      \ 'keyword.other.mnemonic.two-word.zolt': ['zoltMnemonic2'],
      \ 'invalid.illegal.missing-operand.zolt': ['zoltMissingOperand'],
      \ 'invalid.illegal.instruction.zolt': ['zoltBadInstruction'],
      \ 'keyword.control.directive.zolt': ['zoltDirective'],
      \ 'storage.type.data.zolt': ['zoltDataDirective'],
      \ 'invalid.deprecated.unknown-directive.zolt': ['zoltUnknownDirective'],
      \ 'invalid.illegal.directive.zolt': ['zoltBadDirective'],
      \ 'keyword.operator.sign.zolt': ['zoltSign'],
      \ 'invalid.illegal.sign.zolt': ['zoltBadSign'],
      \ 'constant.numeric.hex.zolt': ['zoltHex', 'zoltTokenHex'],
      \ 'constant.numeric.binary.zolt': ['zoltBinary', 'zoltTokenBinary'],
      \ 'constant.numeric.decimal.zolt': ['zoltDecimal', 'zoltTokenDecimal'],
      \ 'invalid.illegal.number.zolt': ['zoltBadNumber'],
      \ 'variable.other.label.zolt': ['zoltLabelRef'],
      \ 'variable.other.constant.zolt': ['zoltConstantRef'],
      \ 'entity.name.label.zolt': ['zoltLabel'],
      \ 'punctuation.separator.label.zolt': ['zoltLabelColon'],
      \ 'invalid.deprecated.dropped.zolt': ['zoltLabelDropped'],
      \ 'entity.name.constant.zolt': ['zoltConstantName'],
      \ 'keyword.operator.assignment.zolt': ['zoltAssign'],
      \ 'invalid.illegal.constant.zolt': ['zoltBadConstant'],
      \ 'string.quoted.other.zolt': ['zoltString'],
      \ 'punctuation.definition.string.zolt': ['zoltStringDelimiter'],
      \ 'constant.character.zolt': ['zoltCharacter'],
      \ 'string.unquoted.filename.zolt': ['zoltFilename'],
      \ 'string.unquoted.message.zolt': ['zoltMessage'],
      \ }

let s:failures = []
let s:checked = 0

function! s:Fail(text) abort
  call add(s:failures, a:text)
endfunction

" The scopes the grammar names, meta scopes aside.
function! s:GrammarScopes(node, found) abort
  if type(a:node) == v:t_dict
    for [key, value] in items(a:node)
      if key ==# 'name' && type(value) == v:t_string && value !~# '^meta\.'
        let a:found[value] = 1
      else
        call s:GrammarScopes(value, a:found)
      endif
    endfor
  elseif type(a:node) == v:t_list
    for value in a:node
      call s:GrammarScopes(value, a:found)
    endfor
  endif
endfunction

" The same token classes on both sides: every scope of the grammar has its Vim groups, and every
" highlighted Vim group stands for a scope.
function! s:CheckClasses() abort
  let grammar = json_decode(join(readfile(s:root
        \ . '/editors/vscode/syntaxes/zolt.tmLanguage.json'), "\n"))
  let scopes = {}
  call s:GrammarScopes(grammar.repository, scopes)
  for scope in sort(keys(scopes))
    if !has_key(s:groups, scope)
      call s:Fail('the grammar has the scope ' . scope . ', which no Vim group stands for')
    endif
  endfor
  for scope in sort(keys(s:groups))
    if !has_key(scopes, scope)
      call s:Fail('the grammar has no scope ' . scope)
    endif
  endfor
  let linked = {}
  for line in readfile(s:root . '/editors/vim/syntax/zolt.vim')
    let group = matchstr(line, '^hi def link \zszolt\w\+')
    if group !=# ''
      let linked[group] = 1
    endif
  endfor
  let mapped = {}
  for groups in values(s:groups)
    for group in groups
      let mapped[group] = 1
      if !has_key(linked, group)
        call s:Fail('the Vim syntax does not highlight ' . group)
      endif
    endfor
  endfor
  for group in sort(keys(linked))
    if !has_key(mapped, group)
      call s:Fail('the Vim group ' . group . ' stands for no scope of the grammar')
    endif
  endfor
endfunction

" An assertion line of the sample format: the comment token, then carets under the columns or
" an arrow from column 0, then the scopes required and, after " - ", those ruled out.
function! s:Assertion(line) abort
  let rest = a:line[1:]
  let carets = matchlist(rest, '^\(\s*\)\(\^\+\)\(.*\)$')
  if !empty(carets)
    let from = 1 + len(carets[1])
    let [to, tail] = [from + len(carets[2]), carets[3]]
  else
    let arrow = matchlist(rest, '^\s*<\(\~*\)\(-\+\)\(.*\)$')
    if empty(arrow)
      return {}
    endif
    let from = len(arrow[1])
    let [to, tail] = [from + len(arrow[2]), arrow[3]]
  endif
  let parts = split(tail, '\s-\s\|^\s*-\s', 1)
  return {'from': from, 'to': to, 'required': split(parts[0]),
        \ 'excluded': len(parts) > 1 ? split(parts[1]) : []}
endfunction

function! s:CheckSample(path) abort
  let source = []
  let assertions = []
  for line in readfile(a:path)[1:]
    let assertion = line[0] ==# ';' ? s:Assertion(line) : {}
    if empty(assertion)
      call add(source, line)
    else
      call add(assertions, extend(assertion, {'lnum': len(source)}))
    endif
  endfor
  enew!
  call setline(1, source)
  set syntax=zolt
  for a in assertions
    let expected = []
    for scope in a.required
      if has_key(s:groups, scope)
        let expected = s:groups[scope]
      endif
    endfor
    let excluded = []
    for scope in a.excluded
      let excluded += get(s:groups, scope, [])
    endfor
    " One failure per assertion, at its first wrong column.
    for col in range(a.from, a.to - 1)
      let group = synIDattr(synID(a.lnum, col + 1, 1), 'name')
      let s:checked += 1
      let where = fnamemodify(a:path, ':t') . ':' . a.lnum . ':' . (col + 1) . ' '
            \ . string(source[a.lnum - 1])
      if !empty(expected) && index(expected, group) < 0
        call s:Fail(where . ': ' . string(group) . ' where ' . join(expected, ' or ') . ' was expected')
        break
      elseif index(excluded, group) >= 0
        call s:Fail(where . ': ' . group . ' is ruled out here')
        break
      endif
    endfor
  endfor
endfunction

try
  call s:CheckClasses()
  for sample in glob(s:root . '/tests/editors/samples/*.zolt', 1, 1)
    call s:CheckSample(sample)
  endfor
catch
  call s:Fail('error: ' . v:exception . ' at ' . v:throwpoint)
endtry

if s:checked == 0
  call s:Fail('no column was checked')
endif
call writefile(s:failures + [printf('%d columns checked, %d failures', s:checked, len(s:failures))], $ZOLT_REPORT)
execute empty(s:failures) ? 'qall!' : 'cquit!'
