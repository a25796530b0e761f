#include "grammar/cobol_grammar.h"

DovGrammar DovCobolGrammar = {&DovCobolGrammarTables, {}, nullptr};

const int DovGrammarHasSql = 1;
const int DovGrammarHasCics = 1;

int yyparse() { return DovRunGrammar(DovCobolGrammar); }

bool DovGrammarAcceptsDials(DovDials dials) {
    return DovDialsLevel(dials, DIAL_WANG) == 0 && DovDialsLevel(dials, DIAL_DML) == 0;
}
