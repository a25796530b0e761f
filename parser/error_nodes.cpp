// Parser messages, syntax errors and error nodes.
#include "parser/error_nodes.h"

#include <iostream>

#include "lbase/small_stack.h"
#include "parser/parser_impl.h"
#include "parser/token_adapter.h"
#include "tree/leaf.h"
#include "tree/walk.h"

namespace {

// Whether `inner` is `outer` or lies below it.
bool IsWithin(const DovExpr* inner, const DovExpr* outer) {
    for (const DovExpr* n = inner; n; n = n->Parent())
        if (n == outer) return true;
    return false;
}

// A new syntax-error node: STMT__SYNTAX_ERROR over an empty token list.
DovExpr* NewErrNode() {
    DovExpr* node = new DovExprOper(STMT__SYNTAX_ERROR);
    node->SetArg(0, new DovExprOper(EX_EXEC_TOKEN_LIST));
    return node;
}

bool ErrTrace(const DovParserImpl* parser) { return parser && parser->errRecoveryTrace; }

// The first token of a list that is no blank, comma, semicolon or comment.
const DovToken* FirstSignificant(const DovTokenList* list) {
    if (!list) return nullptr;
    for (const DovToken* t : *list)
        if (!t->IsBlankSeparator() && t->code != CM_COMMENT) return t;
    return nullptr;
}

}  // namespace

void DovParserImpl::ParserError(int level, const DovTxtPosn& position, const VString& text) {
    const DovTxtPosn at = position.IsNull() ? currentPosn : position;
    if (!messages) {
        if (messageCallback)
            messageCallback(MSG_TERMINAL, at, "DovParserImpl::ParserError: no list of error messages specified");
        return;
    }
    if (level == MSG_WARN || level == MSG_ERR)
        messages->AddNewToken(level, at, text);
    else if (messageCallback)
        messageCallback(level, at, text);
    if (errRecoveryTrace) std::cout << at << ": ERROR: lev=" << level - MSG_INFO << ": " << text << '\n';
}

void ReportSyntaxError(const char* text, int code, YYSTYPE* value, YYPOSN* posn) {
    const DovToken* first = FirstSignificant(posn ? *posn : nullptr);
    const DovTxtPosn at = first ? first->Beg() : DovNullPosn;
    const VString spelling = TokenExpr(code, value);
    const VString message = DovFormat("%s. at token: %s", text ? text : "", spelling.CStr());
    if (WorkingParser)
        WorkingParser->ParserError(MSG_ERR, at, message);
    else if (DovMessageHook)
        DovMessageHook(MSG_ERR, at, message);
}

DovExpr* GenErrNode(DovParserImpl* parser) {
    if (!parser) return NewErrNode();
    const bool trace = ErrTrace(parser);
    if (!parser->errNode) {
        if (trace) std::cout << "  GenErrNode: no err_node, generate new\n";
        parser->errNode = NewErrNode();
        return parser->errNode;
    }
    if (parser->errNode->Parent()) {
        if (trace) std::cout << "  GenErrNode: err_node is attached, generate new one\n";
        return NewErrNode();
    }
    if (trace) std::cout << "  GenErrNode: err_node is UN-attached, use it\n";
    return parser->errNode;
}

void AttachErrTokens(DovTokenList* tokens, int type) {
    DovParserImpl* parser = WorkingParser;
    if (!tokens || tokens->IsEmpty() || !parser || !parser->errNode) return;
    const bool trace = ErrTrace(parser);
    if (trace) {
        std::cout << "!!AttachErrTokens: type=" << type << ' ';
        tokens->Print(std::cout);
        std::cout << '\n';
    }
    DovExpr* errNode = parser->errNode;
    DovExpr* list = DovArgOrNull(errNode, 0);
    if (!list || list->Oper() != EX_EXEC_TOKEN_LIST) {
        // A slot emptied by someone else gets a fresh list.
        list = new DovExprOper(EX_EXEC_TOKEN_LIST);
        errNode->SetArg(0, list);
    }
    // Tokens skipped before the ones already kept go in front of them.
    int insertAt = -1;
    if (list->NumArgs() > 0) {
        const DovExpr* firstItem = DovArgOrNull(list, 0);
        const DovToken* kept = firstItem ? firstItem->Tokens().First() : nullptr;
        const DovToken* incoming = tokens->First();
        if (kept && incoming && DovTxtPosnCompare(incoming->Beg(), kept->Beg()) == -1) insertAt = 0;
    }
    while (DovToken* token = tokens->PopFront()) {
        VString text;
        if (token->code == SEP_SPACE) {
            token->code = PRESERVED_SPACE;
            token->image = " ";
            text = " ";
        } else if (token->code != CM_COMMENT) {
            text = DovTokenText(*token);
            token->code = PRESERVED_STRING;
            token->image = text;
        }
        DovExpr* item = new DovTokenString(text);
        item->Tokens().AppendToken(token);
        if (insertAt >= 0)
            list->InsArg(item, insertAt++);
        else
            list->AddArg(item);
    }
    if (trace) errNode->Print(std::cout);
}

void AttachDiscardedTokens(DovTokenList* tokens, const DovExpr* owner, int mode) {
    DovParserImpl* parser = WorkingParser;
    if (parser && parser->errNode && IsWithin(parser->errNode, owner)) {
        if (ErrTrace(parser)) std::cout << "=!!=ERR_NODE DELETED, set it to NULL\n";
        parser->errNode = nullptr;
    }
    if (parser && !parser->errNode && tokens && !tokens->IsEmpty()) parser->errNode = NewErrNode();
    AttachErrTokens(tokens, mode);
}

void DeleteErrValue(YYSTYPE value, int mode) {
    DovExpr* node = DovValueNode(value);
    if (!node || node->Parent()) return;
    if (node->Oper() == COBOL_FILE || node->Oper() == COBOL_PROGRAM) return;
    DovTokenList tokens;
    DovGatherTokens(node, &tokens);
    AttachDiscardedTokens(&tokens, node, mode);
    if (DovParserImpl* parser = WorkingParser) parser->ForgetNodesWithin(node);
    delete node;
}

void DeleteErrPosn(YYPOSN posn, int mode) {
    if (!posn) {
        if (mode == -1 && WorkingParser) {
            DovParserImpl* parser = WorkingParser;
            if (ErrTrace(parser)) std::cout << "-!!-CREATED NEW ERROR NODE\n";
            // A pending node that no error alternative took is replaced:
            // its tokens go to the new one and it is freed.
            DovExpr* old = parser->errNode;
            parser->errNode = NewErrNode();
            if (old && !old->Parent()) {
                parser->ForgetNodesWithin(old);
                DovTokenList tokens;
                DovGatherTokens(old, &tokens);
                AttachErrTokens(&tokens, mode);
                delete old;
            }
        }
        return;
    }
    AttachErrTokens(posn, mode);
    if (mode != 0) delete posn;
}

void DovMarkFromSource(DovExpr* node) {
    if (!node) return;
    if (node->Flag() == 0) node->SetFlag(1);
    // Each node's slots are marked, and each child as it is met, a slot
    // record read once; the operator children wait in a list instead of
    // being marked by a call per level. The marks do not depend on each
    // other, so the order is free.
    DovSmallStack<DovExpr*> waiting;
    for (;;) {
        const int count = node->NumArgs();
        for (int i = 0; i < count; ++i) {
            DovArgSlot* slot = node->SlotAt(i);
            if (!slot) continue;
            // The next slot record is on its way while this one is marked.
            if (i + 1 < count) __builtin_prefetch(node->SlotAt(i + 1), 1);
            if (slot->code == 0) slot->code = 1;
            DovExpr* child = slot->arg;
            if (!child) continue;
            if (child->Flag() == 0) child->SetFlag(1);
            if (child->NumArgs() > 0) waiting.push_back(child);
        }
        if (waiting.empty()) return;
        node = waiting.back();
        waiting.pop_back();
    }
}
