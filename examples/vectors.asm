; vectors.asm: a Zolt ROM image at $00C0, within 64 words: entry points, code and squares.
;
; Assemble:  zoltas vectors.asm vectors.out rom log
; The third argument selects CROM (whatever it says), the fourth writes asm.log.
.out vectors.rom
.org $00C0
.start
.lim 64
; The entry table: one word per entry, each the address of its routine.
.d /reset
.d /tick
.d \TABLE
.rel +5
reset:
	ldy 0
	jsr /square
	hlt
tick:
	inm \COUNT
	rti
square:
	ldaay \TABLE	; A = TABLE[Y]
	rts
.c COUNT=$0010
.c TABLE=$00E0
.lfree
.free
.org $00E0
.d 0
.d 1
.d 4
.d 9
.d 16
.d 25
.d %110001
.d $40
.end
; Everything after .end is left unread, even lines that are no comments.
