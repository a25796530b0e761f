#include "tool/driver.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "grammar/cobol_grammar.h"
#include "lbase/debug/signals.h"
#include "lbase/fileutil.h"
#include "lbase/message.h"
#include "lbase/strutil.h"
#include "parser/hooks.h"
#include "parser/options.h"
#include "printer/gen_output.h"
#include "tool/dov_tool.h"
#include "tool/hooks.h"
#include "transform/transform.h"
#include "tree/expr.h"
#include "tree/token.h"
#include "tree/walk.h"

DovCommandLineFlagTable DovOptionRegistry;

const VString* BailoutLevelNames() {
    // Built on first use, freed at exit.
    static const VString names[4] = {VString("warnings"), VString("errors"), VString("severe"), VString()};
    return names;
}

namespace {

DovCommandLineFlag Heading(const char* title) { return DovOptionHeading(title); }

DovCommandLineFlag Flag(char kind, const char* name, int* value, const char* help, int mask) {
    return DovOptionRecord(kind, name, value, nullptr, help, mask);
}

DovCommandLineFlag Text(const char* name, VString* string, const char* help, int mask) {
    return DovOptionRecord('s', name, nullptr, string, help, mask);
}

// Prints every message of the list through the tool's hook, then empties it.
void ReportList(DovTokenList& messages) {
    for (const DovToken* token : messages) ToolMessageHook(token->code, token->Beg(), token->image);
    messages.Clear();
}

void ReportTexts(VStringList& texts) {
    for (const VStringListNode* n = texts.head; n; n = n->next) ToolMessageHook(MSG_ERR, DovNullPosn, n->value);
    texts.Clear();
}

bool GrammarAccepts(int dialect) {
    DovDials set = DovNoDials();
    DovDialsAdd(set, dialect);
    return DovGrammarAcceptsDials(set);
}

}  // namespace

int RunTool(DovTool& tool, int argc, const char* const* argv, DovDials allowedDialects,
            unsigned char defaultLang, unsigned char defaultLang2, const DovCommandLineFlag* extraOptions,
            DovToolSearchFn search, const char* defaultSuffix, DovTransform* transform, int parse,
            int generate, int groupMask) {
    unsigned char result = 0;
    VString error;
    DovExpr* root = nullptr;
    DovTokenList messages;
    int findOnly = 0;
    int silent = 0;
    int stat = 0;
    int severalFiles = 0;

    // 1. The driver's option tables.
    const DovCommandLineFlag settings[] = {
        Heading("Settings"),
        Flag('b', "help", &tool.help, "Print command line options values and description", 11),
        Flag('b', "pf", &tool.pf, "Print command line flags values in the short form (*.cop file format)", 11),
        Flag('b', "v", &tool.v, "Print Quillfen version", 11),
        DovCommandLineFlag(),
    };
    const DovCommandLineFlag reporting[] = {
        Heading("Generic Reporting"),
        Flag('b', "conv-warn", &DovConvWarn, "Warn about transformation problems", 1),
        Flag('b', "conv-info", &DovConvInfo, "Inform about every trasnformation performed", 1),
        Flag('b', "conv-list", &DovConvList, "List all transformations applied", 1),
        Flag('b', "find-only", &findOnly, "Only list potential transformations, do not execute them", 1),
        Flag('b', "silent", &silent, "Do not print short summary of the conversion", 1),
        DovCommandLineFlag(),
    };
    DovCommandLineFlag bailout = Flag('l', "bailout-level", &tool.bailout_level,
                                      "Level of parser messages that cause bailout", 1);
    bailout.choices = BailoutLevelNames();
    const DovCommandLineFlag progressGroup[] = {
        Flag('b', "progress", &tool.progress, "Display Parsing Progress Indicator", 1),
        bailout,
        Flag('b', "stat", &stat, "Print short source program statistics", 1),
        DovCommandLineFlag(),
    };
    const DovCommandLineFlag outputFile[] = {
        Heading("Cobol Output File"),
        Text("gen-file", &tool.gen_file, "Write the converted source to this file", 9),
        Text("gen-sfx", &tool.gen_sfx, "Converted Cobol file suffix", 9),
        Text("gen-main-dir", &tool.gen_main_dir, "Write the converted Main File to this directory", 9),
        DovCommandLineFlag(),
    };

    auto endRun = [&]() -> int {
        if (root) {
            delete root;
            root = nullptr;
        }
        if (!error.IsEmpty()) ToolMessageHook(MSG_ERR, DovNullPosn, error);
        return result;
    };

    // 2, 3. Signals and the message hook.
    DovSetSignalHandlers();
    tool.parser.messageCallback = ToolMessageHook;
    DovMessageHook = ToolMessageHook;

    // 4. Defaults that the options may override.
    error = VString();
    tool.parser.primaryDialect = defaultLang;
    tool.parser.secondaryDialect = defaultLang2;
    tool.gen_sfx = VString(defaultSuffix);

    // 5. Every option group, in the order of the listing.
    result = static_cast<unsigned char>(DovAddCommandLineFlags(DovOptionRegistry, settings, error, groupMask));
    if (result == 0 && extraOptions)
        result = static_cast<unsigned char>(DovAddCommandLineFlags(DovOptionRegistry, extraOptions, error, groupMask));
    if (result == 0 && transform) {
        transform->DefineOptions();
        result = static_cast<unsigned char>(
            DovAddCommandLineFlags(DovOptionRegistry, transform->options, error, groupMask));
    }
    if (result == 0)
        result = static_cast<unsigned char>(DovAddCommandLineFlags(DovOptionRegistry, reporting, error, groupMask));
    if (result == 0 && parse) {
        const DovCommandLineFlagTable* parserOptions = tool.parser.DefineOptions(255);
        result = static_cast<unsigned char>(
            DovAddCommandLineFlags(DovOptionRegistry, *parserOptions, error, groupMask));
        if (result == 0)
            result = static_cast<unsigned char>(
                DovAddCommandLineFlags(DovOptionRegistry, progressGroup, error, groupMask));
    }
    if (result == 0 && generate) {
        const DovCommandLineFlagTable& printerOptions = tool.printer.DefineOptions(255);
        result = static_cast<unsigned char>(
            DovAddCommandLineFlags(DovOptionRegistry, printerOptions, error, groupMask));
        if (result == 0)
            result = static_cast<unsigned char>(
                DovAddCommandLineFlags(DovOptionRegistry, outputFile, error, groupMask));
    }
    if (result != 0) return endRun();

    // 6. Options from the environment, 7. then from the command line.
    VStringList optionMessages;
    if (const char* env = std::getenv("DOV_TOOL_OPTIONS")) {
        result = static_cast<unsigned char>(DovSetCLFlagsFromString(DovOptionRegistry, VString(env), optionMessages));
        ReportTexts(optionMessages);
        if (result != 0) return endRun();
    }
    result = static_cast<unsigned char>(SetCLFlag(DovOptionRegistry, 1, argc, argv, tool.input_files, optionMessages));
    ReportTexts(optionMessages);
    if (result != 0) return endRun();

    // 8. The banner.
    if (argc <= 1 || tool.v || tool.help || tool.pf) {
        std::cout << DovFormat(tool.banner_format.CStr(), tool.program_name.CStr(), tool.version.CStr()) << '\n';
        std::cout << "Source-to-Source converter." << '\n';
        std::cout << "Quillfen Direct." << '\n';
        if (DovCanParseSql) std::cout << "Can parse SQL." << '\n';
        if (DovCanParseCics) std::cout << "Can parse CICS." << '\n';
        if (GrammarAccepts(DIAL_WANG)) std::cout << "Can parse Wang." << '\n';
        if (GrammarAccepts(DIAL_DML)) std::cout << "Can parse DMS DML." << '\n';
        std::cout << '\n';
        std::cout << "Start it with -help to see a list of command-line options." << '\n';
    }
    // 9. The options listing, 10. the option values.
    if (tool.help) DovPrintCommandLineFlags(DovOptionRegistry, std::cout, 1, argc, argv);
    if (tool.pf) DovPrintCommandLineFlagValues(DovOptionRegistry, std::cout, 255);

    // 11. Input files.
    if (tool.input_files.IsEmpty()) {
        error = VString("No input files specified");
        result = DOV_TOOL_BAD_OPTIONS;
        return endRun();
    }
    // 12. Every input file can be read before any is processed.
    for (const VStringListNode* n = tool.input_files.head; n; n = n->next) {
        std::ifstream in;
        int opened = DovOpenInFile(in, n->value.CStr(), DovFileMode::Binary, DovOpenTrace::Off);
        // A directory opens as a stream but cannot be read as a source.
        std::error_code ec;
        if (opened == 0 && std::filesystem::is_directory(n->value.CStr(), ec)) opened = 11;
        if (opened != 0) {
            error = DovFormat("Cannot open file '%s' for input", n->value.CStr());
            result = static_cast<unsigned char>(opened);
            return endRun();
        }
    }

    // 13. Dialects, progress callback, trace level.
    if (parse) {
        tool.parser.allowedDialects = allowedDialects;
        result = static_cast<unsigned char>(tool.parser.ResolveDialectDefaults(error));
        if (result != 0) return endRun();
        if (tool.progress) tool.parser.progressCallback = ShowParseProgress;
        DovSymTabTraceLevel = tool.parser.tokenTrace;
    }
    // 14. Find-only lists what it finds.
    if (findOnly) {
        DovConvList = 1;
        DovConvFoundMode = 1;
    } else {
        DovConvFoundMode = 0;
    }
    // 15. Generating checks.
    if (generate) {
        if (tool.parser.lineFormat != 1) tool.printer.gen_line_format = 0;
        if (!tool.gen_file.IsEmpty() && tool.input_files.Count() >= 2) {
            error = DovFormat("Cannot specify one output file '%s' for several input files", tool.gen_file.CStr());
            result = DOV_TOOL_BAD_OPTIONS;
            return endRun();
        }
        // No output may overwrite an input: refused before any file is read.
        const DovGenNaming naming{tool.gen_file, tool.gen_sfx, tool.gen_main_dir, VString(defaultSuffix)};
        if (const int rc = DovCheckGenOutputs(tool.input_files, naming, error)) {
            result = static_cast<unsigned char>(rc);
            return endRun();
        }
    }

    // 16. The files.
    severalFiles = tool.input_files.Count() >= 2;
    for (const VStringListNode* n = tool.input_files.head; n; n = n->next) {
        const VString& file = n->value;

        // Opening lines.
        if (!silent) std::cout << "*Reading* " << file << '\n';
        if (root) {
            delete root;
            root = nullptr;
        }
        DovResetMessageCounters();

        bool toSummary = false;

        // Pre-processing.
        if (transform) {
            messages.Clear();
            result = static_cast<unsigned char>(transform->PreProcess(file, &tool.parser, &tool.printer, &messages));
            if (result != 0 || !messages.IsEmpty()) {
                ToolMessageHook(MSG_ERR, DovNullPosn,
                                DovFormat("%s: Failed to pre-process. This file will not be processed.", file.CStr()));
                ReportList(messages);
                toSummary = true;
            }
        }

        // Parsing.
        if (!toSummary && parse) {
            DovExpr::node_ctr = 0;
            messages.Clear();
            result = static_cast<unsigned char>(tool.parser.Parse(file.CStr(), root, &messages));
            if (tool.progress && tool.parser.progressCallback) tool.parser.progressCallback(DovNullPosn, VString());
            ReportList(messages);
            if (result >= tool.bailout_level + 1) {
                ToolMessageHook(
                    MSG_ERR, DovNullPosn,
                    DovFormat("%s: Parsing errors have caused bailout. This file will not be processed.", file.CStr()));
                toSummary = true;
            } else if (stat && root) {
                std::cout << "Lines:        " << DovFormat("%5d", tool.parser.lineCount) << '\n';
                std::cout << "LinesOfCode:  " << DovFormat("%5d", tool.parser.codeLineCount) << '\n';
            }
        }

        // Searching or transforming.
        if (!toSummary && (search || (transform && root))) {
            if (tool.progress) std::cout << (findOnly ? "*Searching*" : "*Transforming*") << '\n';
            messages.Clear();
            if (search) {
                result = search(root, file, &tool.parser, &tool.printer, &messages);
            } else {
                result = static_cast<unsigned char>(transform->PrepareFile(file, &tool.parser, &tool.printer, &messages));
                if (result == 0) result = static_cast<unsigned char>(transform->LoadRefs(&messages));
                if (result == 0)
                    result = static_cast<unsigned char>(transform->ApplyAll(root, findOnly ? 0 : 1, &messages, nullptr));
            }
            ReportList(messages);
            if (result != 0) {
                toSummary = true;
            } else if (DovConvList) {
                DovPrintAppliedTransformations(std::cout);
            }
        }

        // Generating.
        if (!toSummary && !findOnly && generate && root) {
            DovRaiseComments(root);
            const VString output =
                DovGenOutputName(file, DovGenNaming{tool.gen_file, tool.gen_sfx, tool.gen_main_dir, VString(defaultSuffix)});
            tool.gen_file = output;
            if (!silent) std::cout << " Writing  " << output << '\n';
            int err = 0;
            if (DovMkDir(output.CStr(), &err) != 0) {
                error = DovFormat("Cannot create directory for '%s': %s", output.CStr(), std::strerror(err));
                result = DOV_TOOL_MKDIR_FAILED;
                return endRun();
            }
            if (tool.progress) std::cout << "*PrettyPrinting* " << output << '\n';
            messages.Clear();
            tool.printer.gen_posn = 0;
            result = static_cast<unsigned char>(tool.printer.PrintToFile(output, root, &messages));
            ReportList(messages);
            if (result != 0) return endRun();
        }

        // Summary of the file.
        const std::uint64_t errors = DovErrorCount();
        const std::uint64_t warnings = DovWarningCount();
        if (errors != 0 || warnings != 0 || !silent)
            std::cout << "Errors: " << errors << ", " << "Warnings: " << warnings << '\n';
        if ((tool.progress || severalFiles) && !silent) std::cout << '\n';
        tool.gen_file = VString();
        if (root) {
            if (n->next || tool.free_last_tree) delete root;
            root = nullptr;
        }
    }
    return endRun();
}
