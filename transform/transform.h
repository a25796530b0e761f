// The transformation library: the DovTransform base class, its class
// registry, the engine with its tree walker and the usage map.
#pragma once

#include "transform/base.h"
#include "transform/engine.h"
#include "transform/iterator.h"
#include "transform/storage.h"
#include "transform/usage.h"
