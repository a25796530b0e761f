/* ---- Noise words and word sets -------------------------------------------------------
 * A noise word (`_x`) leaves only its tokens, which the position reduction
 * hands to the next node; a word set (`x_word`) is one of its words,
 * required. One rule per line, sorted; any family may add a line.           */
_after        : /* empty */ | RW_AFTER ;
_are          : /* empty */ | RW_ARE ;
_area         : /* empty */ | RW_AREA ;
_at           : /* empty */ | RW_AT ;
_by           : /* empty */ | RW_BY ;
_character    : /* empty */ | RW_CHARACTER ;
_characters   : /* empty */ | RW_CHARACTERS ;
_collating    : /* empty */ | RW_COLLATING ;
_contains     : /* empty */ | RW_CONTAINS ;
_dot          : /* empty */ | SEP_DOT ;
_for          : /* empty */ | RW_FOR ;
_in           : /* empty */ | RW_IN ;
_is           : /* empty */ | RW_IS ;
_is_are       : /* empty */ | RW_IS | RW_ARE ;
_key          : /* empty */ | RW_KEY ;
_line         : /* empty */ | RW_LINE | RW_LINES ;
_mode         : /* empty */ | RW_MODE ;
_multiple     : /* empty */ | RW_MULTIPLE ;
_name         : /* empty */ | RW_NAME ;
_number       : /* empty */ | RW_NUMBER ;
_of           : /* empty */ | RW_OF ;
_on           : /* empty */ | RW_ON ;
_on_kwd       : /* empty */ | CMB_ON_BEF_KWD ;
_program      : /* empty */ | RW_PROGRAM ;
_record       : /* empty */ | RW_RECORD ;
_size         : /* empty */ | RW_SIZE ;
_status       : /* empty */ | RW_STATUS ;
_than         : /* empty */ | RW_THAN ;
_then         : /* empty */ | RW_THEN ;
_to           : /* empty */ | RW_TO ;
_values       : /* empty */ | RW_VALUES ;
_with         : /* empty */ | RW_WITH ;
col_word      : RW_COL | RW_COLUMN ;
corr_word     : RW_CORR | RW_CORRESPONDING ;
high_value_word : RW_HIGH_VALUE | RW_HIGH_VALUES ;
low_value_word  : RW_LOW_VALUE | RW_LOW_VALUES ;
null_word     : RW_NULL | RW_NULLS ;
of_in_word    : RW_OF | RW_IN ;
pos_word      : RW_POS | RW_POSITION ;
quote_word    : RW_QUOTE | RW_QUOTES ;
space_word    : RW_SPACE | RW_SPACES ;
thru_word     : RW_THRU | RW_THROUGH ;
zero_word     : RW_ZERO | RW_ZEROS | RW_ZEROES ;
