// The TIC text form of single nodes.
#include <istream>
#include <ostream>

#include "tree/expr.h"

void DovExpr::PutTicNode(std::ostream&) const { ReportMisuse("PutTicNode()"); }

char DovExpr::GetTic(std::istream&, VString&) {
    ReportMisuse("GetTic()");
    return '<';
}

void DovExprOper::PutTicNode(std::ostream&) const { ReportMisuse("PutTicNode()"); }

char DovExprOper::GetTic(std::istream&, VString&) {
    ReportMisuse("GetTic()");
    return '<';
}
