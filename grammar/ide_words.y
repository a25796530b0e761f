/* ---- Noise words and operands of the environment and data divisions ------------
 * Noise words leave only their tokens. The operands: integers and literals
 * as their leaf nodes, data references as data-name uses.                    */
_are_is     : /* empty */ | RW_ARE | RW_IS ;
_is_are     : /* empty */ | RW_IS | RW_ARE ;
_area       : /* empty */ | RW_AREA ;
_at         : /* empty */ | RW_AT ;
_by         : /* empty */ | RW_BY ;
_character  : /* empty */ | RW_CHARACTER ;
_characters : /* empty */ | RW_CHARACTERS ;
_contains   : /* empty */ | RW_CONTAINS ;
_end        : /* empty */ | RW_END ;
_file       : /* empty */ | RW_FILE ;
_for        : /* empty */ | RW_FOR ;
_in         : /* empty */ | RW_IN ;
_indicate   : /* empty */ | RW_INDICATE ;
_key        : /* empty */ | RW_KEY ;
_lines      : /* empty */ | RW_LINES ;
_mode       : /* empty */ | RW_MODE ;
_of         : /* empty */ | RW_OF ;
_on         : /* empty */ | RW_ON ;
_record     : /* empty */ | RW_RECORD | RW_RECORDS ;
_right      : /* empty */ | RW_RIGHT ;
_sequence   : /* empty */ | RW_SEQUENCE ;
_set        : /* empty */ | RW_SET ;
_sign       : /* empty */ | RW_SIGN ;
_size       : /* empty */ | RW_SIZE ;
_status     : /* empty */ | RW_STATUS ;
_symbolic   : /* empty */ | RW_SYMBOLIC ;
_tape       : /* empty */ | RW_TAPE ;
_times      : /* empty */ | RW_TIMES ;
_when       : /* empty */ | RW_WHEN ;
_with       : /* empty */ | RW_WITH ;

env_integer
    : TK_INT_NUM_LIT                        { $$ = $1; }
    ;

dd_integer
    : TK_INT_NUM_LIT                        { $$ = $1; }
    ;
