// Helpers for tree tests: capture the reports of the tree core and build
// small trees.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tree/tree.h"

namespace vemlo_test {

struct CapturedMessage {
    int code;
    std::string text;
};

// Captures every report sent through the library's message hook while it
// lives; the old hook comes back at its end.
class MessageCapture {
public:
    MessageCapture();
    ~MessageCapture();
    MessageCapture(const MessageCapture&) = delete;
    MessageCapture& operator=(const MessageCapture&) = delete;

    const std::vector<CapturedMessage>& Messages() const;
    std::string Joined() const;  // texts joined by '\n'
    void Clear();

private:
    DovMessageCallback saved_;
};

// A user word token placed at line/column of file 1.
DovToken* Word(const char* image, int line = 0, int column = 0);

// A COBOL_PROGRAM with an empty symbol table, and that table.
DovExpr* NewProgram();
DovExpr* TableOf(DovExpr* prog);

// What the symbol-table and name services print while `fn` runs at the
// given trace level.
template <typename Fn>
std::string SymTabTrace(int level, Fn fn) {
    int saved = DovSymTabTraceLevel;
    DovSymTabTraceLevel = level;
    testing::internal::CaptureStdout();
    fn();
    std::string out = testing::internal::GetCapturedStdout();
    DovSymTabTraceLevel = saved;
    return out;
}

// `depth` MOVE nodes, each holding the next in its first slot and nothing
// in its second, the last one `bottom`; built from the bottom up, as a
// parser builds.
DovExpr* NestedMoves(int depth, DovExpr* bottom);

// The images of a token list joined without separators.
std::string Images(const DovTokenList& list);

// One row of a data-item table, without picture, usage or value.
DovDataItemRow DataRow(int depth, const char* name, int level = 0);

// A program (with its table) whose WORKING-STORAGE list holds `rows`,
// declared through the data-item hierarchy; the row table is ended here.
DovExpr* NewProgramWithData(std::vector<DovDataItemRow> rows);
// Declares one more table into the WORKING-STORAGE list of such a program
// (a table climbs back one depth per row, so records after a deeper one
// start a table of their own).
void AddData(DovExpr* program, std::vector<DovDataItemRow> rows);
// The WORKING-STORAGE list of such a program.
DovExpr* WorkingStorage(DovExpr* program);

// The definition whose full qualified name is `name` ("X OF G OF R"), found
// anywhere below `root`; null when there is none or several.
DovNamedObjDef* FindDef(DovExpr* root, const std::string& name);

}  // namespace vemlo_test
