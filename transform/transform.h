// The transformation library: the DovTransform base class, its class
// registry, the engine with its tree walker, the usage map, the query
// language and the grep transformation.
#pragma once

#include "transform/base.h"
#include "transform/engine.h"
#include "transform/iterator.h"
#include "transform/storage.h"
#include "transform/usage.h"
#include "transform/query/query.h"
#include "transform/grep/grep.h"
