; message.asm: a Zolt program that sends a zero-terminated greeting, one character per word.
;
; Assemble:  zoltas message.asm message.bin
; Two arguments select the BIN pair: HI_message.bin holds the high byte and LO_message.bin the
; low byte of every word, for two 8-bit EEPROMs.
.c SERIAL=2
.cstart
	ldx 0
next:
	ldaax /text	; A = the character at text + X
	cpan 0
	beq /stop	; the terminator ends the message
	snda \SERIAL
	inx
	jmp /next
stop:
	hlt
.cstop
.cshow
; The text starts on the next multiple of 16.
.align
text:
.z "Hi, Zolt!"
.a !
.s "<>"
.d 0
.addr
