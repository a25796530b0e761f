#include "tests/printer/printer_fixture.h"

namespace vemlo_test {

void ResetPrintState() {
    DovPrinting.FreeSourceReaders();
    DovPrinting = DovPrintState{};
}

PrintPass::PrintPass(DovPrettyPrinterImpl& printer) {
    ResetPrintState();
    EXPECT_EQ(DovBeginPrintPass(&printer, &messages_, nullptr), 0);
    DovPrinting.SetLineFormatColumns(printer.gen_line_format);
    DovPrinting.copyLevels[0].stream = &out_;
    DovPrinting.currentLevel = 1;
}

PrintPass::~PrintPass() {
    DovEndPrintPass();
    ResetPrintState();
}

std::vector<std::string> PrintPass::Lines() const {
    std::vector<std::string> lines;
    std::istringstream in(out_.str());
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::vector<std::string> PrintPass::MessageTexts() const {
    std::vector<std::string> texts;
    for (const DovToken* t : messages_) texts.push_back(t->image.CStr());
    return texts;
}

DovToken* Tok(int code, const char* image, int line, int col, int endCol, int file) {
    return new DovToken(code, image, DovTxtPosnRange{P(line, col, file), P(line, endCol, file)});
}

DovExpr* Leaf(const char* image, int line, int col, int endCol, int file) {
    auto* leaf = new DovCharString(image);
    Add(leaf->Tokens(), W(image, line, col, endCol, file));
    return leaf;
}

void Add(DovTokenList& list, DovToken* token) { list.AppendToken(token); }

WorkingParserScope::WorkingParserScope() {
    parser_.messages = &messages_;
    WorkingParser = &parser_;
}

WorkingParserScope::~WorkingParserScope() {
    WorkingParser = nullptr;
    parser_.messages = nullptr;
}

std::vector<std::string> WorkingParserScope::Texts() const {
    std::vector<std::string> texts;
    for (const DovToken* t : messages_) texts.push_back(t->image.CStr());
    return texts;
}

std::string Texts(const DovTokenList& messages) {
    std::string s;
    for (const DovToken* m : messages) s += std::string(m->image.CStr()) + "\n";
    return s;
}

OptionParser::OptionParser(const std::vector<std::string>& options) {
    const DovCommandLineFlagTable& table = *parser_.DefineOptions(kDovParserOptionGroups);
    std::vector<const char*> argv;
    for (const std::string& w : options) argv.push_back(w.c_str());
    VStringList files, problems;
    VString error;
    ok_ = SetCLFlag(table, 0, static_cast<int>(argv.size()), argv.data(), files, problems) == 0 &&
          parser_.ResolveDialectDefaults(error) == 0;
}

DovExpr* OptionParser::Parse(const std::filesystem::path& file, DovTokenList& messages) {
    DovExpr* root = nullptr;
    parser_.Parse(file.string().c_str(), root, &messages);
    return root;
}

}  // namespace vemlo_test
