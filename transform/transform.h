// Transformations and the query search.
#pragma once

#include "transform/query/query.h"
