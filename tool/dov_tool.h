// DovTool: the tool descriptor. One global instance holds, for the whole run,
// the banner texts, the switches behind some of the driver's options, the
// parser and the pretty printer used for every input file, the input file
// names and the name of the current output file.
#pragma once

#include "lbase/vstring.h"
#include "lbase/vstring_list.h"
#include "parser/parser_impl.h"
#include "printer/printer_impl.h"

class DovTool {
public:
    // The banner's format (it receives the program name and the version), the
    // program name and the version.
    DovTool(const VString& bannerFormat, const VString& programName, const VString& version);
    DovTool(const DovTool&) = delete;
    DovTool& operator=(const DovTool&) = delete;
    ~DovTool();

    VString banner_format;
    VString program_name;
    VString version;
    int help = 0;          // option "help"
    int pf = 0;            // option "pf"
    int v = 0;             // option "v"
    VString gen_sfx;       // option "gen-sfx"; the driver's default suffix first
    VString gen_main_dir;  // option "gen-main-dir"
    int progress = 0;      // option "progress"
    int bailout_level = 2; // option "bailout-level": a parse status above it stops a file
    DovParserImpl parser;
    DovPrettyPrinterImpl printer;
    VStringList input_files;
    VString gen_file;      // option "gen-file"; the output name of the file being generated
    // Whether the driver deletes the tree of the last input file. A program
    // that ends right after the run clears it: the process's end gives the
    // memory back at once, where deleting a large tree node by node takes a
    // tenth of the run.
    bool free_last_tree = true;
};

// The program's one descriptor: "%s: Vemlo ver %s.", "vemlo", "4-2-0".
extern DovTool DovTheTool;
