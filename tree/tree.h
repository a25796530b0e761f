// The program tree, the operation catalogue, tokens and the dialect set.
#pragma once
