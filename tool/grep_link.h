// The grep transformation as the tool sees it. While transform/grep is not
// part of the build, a reduced grep of the same name stands in: it has the
// grep's options, takes its query from q or from the whole file named by qf,
// compiles it once per file and reports each matching node by its position
// ("Found") or its source line.
#pragma once

#if __has_include("transform/grep/grep.h")
#include "transform/grep/grep.h"
#define VEMLO_TOOL_HAS_GREP 1
#else
#include "lexer/src_file.h"
#include "transform/transform.h"

class WyrGrep : public DovTransform {
public:
    WyrGrep();
    WyrGrep(const WyrGrep& other);
    DovTransform* Clone() const override;
    bool ModifiesTree() const override { return false; }
    VString ClassName() const override { return VString("Grep"); }
    VString ClassDescription() const override { return VString("Find Things in Cobol code"); }
    void DefineOptions() override;
    int Prepare(DovParser* parser, DovPrettyPrinter* printer, DovTokenList* msgs) override;
    char TransformNode(DovExpr* node, int apply, DovTokenList* msgs, DovExpr** after) override;

    VString query_text;
    VString query_file;
    int print_query = 0;
    int print_src = 1;
    int node_dump = 0;
    int print_err_pos = 1;
    DovQuery query;
    DovSrcFile source;
};
#define VEMLO_TOOL_HAS_GREP 0
#endif
