#!/usr/bin/env bash
# Renders docs/editor-highlighting.png: a Zolt source highlighted by editors/vim/syntax/zolt.vim
# in headless Neovim, turned into HTML by :TOhtml and photographed by headless Chromium.
# Needs nvim and chromium (Debian: neovim chromium).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

cat > "$work/blink.asm" <<'SOURCE'
; blink.asm: a Zolt program that counts down on a port, then loads a greeting.
.c PORT=$1
.c START=%1010
.mess Building blink
	ldx \START		; X = START
loop:
	txa
	snda \PORT		; send A to the port
	dex
	cpxn 0
	bne /loop		; until X is 0
	jsr /greet
	hlt
greet:
	ldaax /text
	rts
.align
text:
.z "it's "quoted""
.s 'AB' ; a comment after a string is part of it
; Below: a remark (it places a word), a label line, a label without a colon, errors.
	; a TAB and ';'
 nop
done
.END ; matches no directive name: ignored
.org  $100
	lda
	foo 5
SOURCE

cat > "$work/render.vim" <<VIM
set runtimepath^=$root/editors/vim termguicolors background=light tabstop=8
filetype plugin on
syntax on
colorscheme default
runtime plugin/tohtml.vim
let g:html_no_progress = 1
edit $work/blink.asm
TOhtml
write! $work/blink.html
qall!
VIM
nvim --headless -u NONE -i NONE -n -S "$work/render.vim"

chromium --headless --no-sandbox --disable-gpu --disable-background-networking \
    --disable-component-update --disable-sync --no-first-run --disable-quic \
    --user-data-dir="$work/profile" --hide-scrollbars --window-size=720,470 \
    --screenshot="$root/docs/editor-highlighting.png" "file://$work/blink.html"
