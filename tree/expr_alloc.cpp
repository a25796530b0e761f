// Node allocation. Kept apart from every place that creates nodes, so that
// the compiler pairs the class's own new and delete instead of seeing the
// global allocation behind them.
#include <cstring>
#include <new>

#include "tree/expr.h"

void* DovExpr::operator new(std::size_t size) { return ::operator new(size); }

void DovExpr::operator delete(void* p, std::size_t size) {
    if (p) std::memset(p, 0xAA, size);
    ::operator delete(p);
}
