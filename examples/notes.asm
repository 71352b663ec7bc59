; notes.asm: a source made only of comment lines.
; Every line that begins with ";" is a comment: it places nothing in the image.
; Lines of one or two characters, like the empty one below, are skipped.

; Comments are listed in asm.log, one listing line each.
