// The transformation library: the DovTransform base class, its class
// registry, the engine with its tree walker, the usage map and the query
// language.
#pragma once

#include "transform/base.h"
#include "transform/engine.h"
#include "transform/iterator.h"
#include "transform/storage.h"
#include "transform/usage.h"
#include "transform/query/query.h"
