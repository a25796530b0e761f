#include "tree/grammar_value.h"

YYSTYPE yylval = 0;
YYPOSN yyposn = nullptr;
