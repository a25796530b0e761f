/* ---- Noise words and word sets -------------------------------------------------
 * A noise word leaves only its tokens, which the position reduction hands
 * to the next node. One rule per line.                                        */
_dot        : /* empty */ | SEP_DOT ;
_is         : /* empty */ | RW_IS ;
_program    : /* empty */ | RW_PROGRAM ;
_to         : /* empty */ | RW_TO ;
of_in_word  : RW_OF | RW_IN ;
thru_word   : RW_THRU | RW_THROUGH ;
