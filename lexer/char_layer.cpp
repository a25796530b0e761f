// The character layer: the lines of the current input level as items of one
// character each, line breaks as SEP_SPACE, continuation lines joined, and
// comment and blank lines kept aside until the next item leaves the layer.
// A "-INC " line becomes the marker of a library member to include.
#include <string>

#include "lexer/lexer_object.h"
#include "tree/expr.h"

namespace {

constexpr int kFixedIndicator = 6;  // column 7
constexpr int kFixedTextStart = 7;  // column 8, the first column of Area A

DovTxtPosn At(const DovInputFile* in, int column) {
    return DovTxtPosn(in->posn.Line(), static_cast<std::uint32_t>(column), in->posn.FileIndex());
}

bool HasHighBitMark(char c) { return c == '#' || c == '*' || c == '/' || c == 'D' || c == 'd'; }

}  // namespace

DovTokenItem* DovLexer::NewItem(int code, const DovTxtPosn& beg, const DovTxtPosn& end) {
    auto* token = new DovToken;
    token->code = static_cast<std::int16_t>(code);
    token->range = DovTxtPosnRange{beg, end};
    return new DovTokenItem(token);
}

// Every item that leaves the layer takes the comments waiting in front of it.
DovTokenItem* DovLexer::TakePendingComments(DovTokenItem* item) {
    if (!pendingComments.IsEmpty()) item->list.AppendList(pendingComments);
    return item;
}

// A comment or blank line waits in the pending-comment list.
void DovLexer::AppendCommentLine(DovInputFile* in, int code) {
    const char* line = in->line;
    const int len = in->lineLen;
    VString image;
    int start = 0;
    if (code == CM_BLANK_LINE) {
        if (commentEntry) image = "*";
    } else if (lineFormat == LINE_FORMAT_FIXED && len > kFixedIndicator &&
               (line[kFixedIndicator] == '*' || line[kFixedIndicator] == '/' || line[kFixedIndicator] == 'D' ||
                line[kFixedIndicator] == 'd')) {
        start = kFixedIndicator;
        image = VString(line + start, len - start);
    } else if (len > 0 && HasHighBitMark(line[0])) {
        // The mark tells a comment that began in column 1.
        std::string marked(line, len);
        marked[0] = static_cast<char>(static_cast<unsigned char>(marked[0]) | 0x80);
        image = VString(marked.data(), len);
    } else if (lineFormat == LINE_FORMAT_FREE) {
        // A free-format directive line is kept whole.
        image = VString(line, len);
    } else if (len > kFixedIndicator) {
        start = kFixedIndicator;
        image = VString(line + start, len - start);
    }
    auto* token = new DovToken(CM_COMMENT, image, DovTxtPosnRange{At(in, start), At(in, len)});
    pendingComments.AppendToken(token);
    in->readIndex = in->lineLen;
}

// "-INC member": a pending STMT_UNINLINED_COPY node whose first argument
// names the member, and a SEP_COPY_INC item for the layers above.
DovTokenItem* DovLexer::IncLine(DovInputFile* in) {
    const char* line = in->line;
    const int len = in->lineLen;
    int i = 5;
    while (i < len && line[i] == ' ') ++i;
    const int nameStart = i;
    while (i < len && line[i] != ' ') ++i;
    const VString name(line + nameStart, i - nameStart);

    auto* inc = new DovToken(TK__INC, VString(), DovTxtPosnRange{At(in, 0), At(in, 4)});
    auto* nameToken = new DovToken(TK_CHAR_STRING, name, DovTxtPosnRange{At(in, nameStart), At(in, i)});
    auto* nameNode = new DovCharString(name);
    nameNode->Tokens().AppendToken(nameToken);
    auto* node = new DovExprOper(STMT_UNINLINED_COPY);
    node->ArgSlots(0)->tokens.AppendToken(inc);
    node->SetArg(0, DovListExpr(OF_IN_LIST, nameNode));
    SetPending(pendingInc, node);

    in->readIndex = in->lineLen;
    return TakePendingComments(NewItem(SEP_COPY_INC, DovNullPosn, DovNullPosn));
}

// Sets the read index of a new ordinary line. Returns the item that stands
// for the line break (a SEP_SPACE), or null when the line goes on the word or
// literal of the line before.
DovTokenItem* DovLexer::StartLine(DovInputFile* in) {
    const bool free = lineFormat == LINE_FORMAT_FREE;
    const int indicator = free ? 0 : kFixedIndicator;
    const bool continued = in->lineLen > indicator && in->line[indicator] == '-';
    int start = free ? (continued ? 1 : 0) : kFixedTextStart;
    if (start > in->lineLen) start = in->lineLen;
    in->readIndex = start;

    if (continued) {
        if (!lineSeen) Report(MSG_ERR, in->posn, "There is no line to be continued");
        lineSeen = 1;
        int i = start;
        while (i < in->lineLen && in->line[i] == ' ') ++i;
        in->readIndex = i;
        // A literal goes on at its delimiter; anything else breaks it.
        if (openLiteralDelim && !(i < in->lineLen && in->line[i] == openLiteralDelim))
            return NewItem(SEP_SPACE, At(in, i), At(in, i));
        return nullptr;
    }

    if (!free) {
        const char mark = in->line[indicator];
        if (mark != ' ' && static_cast<unsigned char>(mark) != lastIndicatorReported) {
            Report(MSG_WARN, At(in, indicator), DovFormat("Unrecognized character '%c' in indicator area.", mark));
            lastIndicatorReported = static_cast<unsigned char>(mark);
        }
    }
    const bool seen = lineSeen;
    lineSeen = 1;
    return seen ? NewItem(SEP_SPACE, At(in, start), At(in, start)) : nullptr;
}

DovTokenItem* DovLexer::GetCharAB() {
    DovInputFile* in = current;
    DovTokenItem* item =
        in ? TakeSlot(in->pushBack) : TakePendingComments(NewItem(SEP_EOF, DovNullPosn, DovNullPosn));
    while (!item && in->readIndex >= in->lineLen) {
        const int code = GetLine();
        switch (code) {
            case 0:
                if (DovTokenItem* lineBreak = StartLine(in)) item = TakePendingComments(lineBreak);
                break;
            case SEP_EOF:
                // The level stays open: the COPY layer pops members, the
                // parser closes the main file.
                item = TakePendingComments(NewItem(SEP_EOF, in->posn, in->posn));
                break;
            case CM_BLANK_LINE:
            case CM_COMMENT:
                AppendCommentLine(in, code);
                break;
            case CM_LIBR_INC:
                item = IncLine(in);
                break;
            default:
                Report(MSG_SEVERE, in->posn, "DovLexer::GetCharAB: Bad code returned from GetLine()");
                in->readIndex = in->lineLen;
                break;
        }
    }
    if (!item) {
        const int index = in->readIndex++;
        const int c = static_cast<unsigned char>(in->line[index]);
        item = TakePendingComments(NewItem(c, At(in, index), At(in, index + 1)));
    }
    Trace(0x20, "GetCharAB: ", item);
    return item;
}

void DovLexer::UnGetCharAB(DovTokenItem* item) {
    if (!item) return;
    if (current)
        PutSlot(current->pushBack, item, "DovLexer::UnGetCharAB: cannot unget");
    else
        delete item;
}

void DovLexer::SetCodeIfSepFollows(DovToken* token, int code) {
    // Within the line, with nothing pushed back or waiting, the next
    // character can be read where it stands: reading it as an item and
    // putting that back would leave the same state.
    if (DovInputFile* in = current; in && !in->pushBack && pendingComments.IsEmpty() && !(traceFlags & 0x20) &&
                                    in->readIndex < in->lineLen) {
        const int i = in->readIndex;
        const char c = in->line[i];
        if (c == ' ' || (c == '=' && i + 1 < in->lineLen && in->line[i + 1] == '='))
            token->code = static_cast<std::int16_t>(code);
        return;
    }
    DovTokenItem* next = GetCharAB();
    const int c = next->token->code;
    bool ends = c == ' ' || c == SEP_SPACE || c == SEP_EOF || c == SEP_UNINLINED_COPY || c == SEP_INLINED_COPY ||
                c == SEP_COPY_INC;
    if (!ends && c == '=' && current && current->readIndex < current->lineLen &&
        current->line[current->readIndex] == '=')
        ends = true;
    UnGetCharAB(next);
    if (ends) token->code = static_cast<std::int16_t>(code);
}

void DovLexer::UnGetSepOrChar(DovTokenItem* item) {
    if (!item) return;
    if (current)
        PutSlot(current->sepPushBack, item, "DovLexer::UnGetSepOrChar: cannot take more");
    else
        delete item;
}
