; rom.asm: a 32 KiB ROM at $8000. It greets on the serial port, sums a table of squares, then
; echoes what it receives; an interrupt handler counts ticks. The vectors are at the top.
.c SERIAL=2
.c TICKS=$0010
.org $8000
.start
reset:
	ldx 0
	jsr /print
	jsr /sum
	snda \SERIAL
echo:
	rcva \SERIAL
	cpan 0
	beq /echo	; nothing received
	snda \SERIAL
	jmp /echo
; Sends the zero-terminated banner.
print:
	ldx 0
print_next:
	ldaax /banner
	cpan 0
	beq /print_done
	snda \SERIAL
	inx
	jmp /print_next
print_done:
	rts
; A = the sum of the eight squares.
sum:
	ldx 0
	ldan 0
sum_next:
	ldbax /squares
	add
	inx
	cpxn 8
	bne /sum_next
	rts
tick:
	inm \TICKS
	rti
banner:
.z "Zolt ROM 1.0"
squares:
.d 0
.d 1
.d 4
.d 9
.d 16
.d 25
.d 36
.d 49
.org $fffe
.d /tick
.d /reset
