// Helpers for the transformation tests: capturing the library's message
// hook, small named trees and a scriptable transformation.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "transform/transform.h"
#include "tree/tree.h"

namespace vemlo_test {

// Captures the texts handed to DovTransformMessageHook while it lives.
class HookCapture {
public:
    HookCapture();
    ~HookCapture();
    HookCapture(const HookCapture&) = delete;
    HookCapture& operator=(const HookCapture&) = delete;
    const std::vector<std::string>& Texts() const;

private:
    DovTransformMessageFn saved_;
};

// An EX_LIST node named by a word token at line/column of file 1 in its own
// token list; its children in order (null leaves an empty slot).
DovExpr* Op(const char* name, std::vector<DovExpr*> children = {}, int line = 0, int column = 0);
// A leaf with that text.
DovExpr* Leaf(const char* name);
// The name of a node built by Op or Leaf; "NULL" for a NULL_NODE, "?" else.
std::string Name(const DovExpr* node);

// The walker path of the running walk, from the first node of the current
// view (the start node) to the top, by name.
std::string PathNames();

// Positions of file 1.
DovTxtPosn Posn(int line, int column);

// A transformation whose per-node work is a test's lambda. By default it
// records every node it is called on, with the path above, and is not
// applicable anywhere.
class Scripted : public DovTransform {
public:
    using Body = std::function<char(Scripted& self, DovExpr* node, int apply, DovTokenList* msgs, DovExpr** after)>;

    explicit Scripted(bool modifies = false, const char* name = "Scripted", const char* descr = "scripted test");
    Scripted(const Scripted& other) = default;

    DovTransform* Clone() const override { return new Scripted(*this); }
    bool ModifiesTree() const override { return modifies; }
    VString ClassName() const override { return "Scripted"; }
    char TransformNode(DovExpr* node, int apply, DovTokenList* msgs, DovExpr** after) override;

    bool modifies;
    Body body;
    // "name[path]" per call, path as PathNames() gives it.
    std::vector<std::string> visits;
    // Names only.
    std::vector<std::string> names;
};

// The images of every token of a list, one "code:text@line:col" each.
std::vector<std::string> MessageLines(const DovTokenList& list);

}  // namespace vemlo_test
