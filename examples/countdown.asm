; countdown.asm: a Zolt program that counts X down from START to 1 and sends every step to a port.
;
; Assemble:  zoltas countdown.asm
; With only the source named, zoltas writes output.rom (one "Maddr=word" line per word) and
; asm.log, the listing of every line.
;
; Constants are referred to with "\", labels with "/"; both may be used before they are defined.
.c START=10
.c PORT=$1
.mess Building countdown
	ldx \START	; X = START
loop:
	txa
	snda \PORT	; send A to the port
	dex
	cpxn 0
	bne /loop	; until X is 0
	jmp /done	; a forward reference
	nop
done:
	hlt
