#include "tool/dov_tool.h"

DovTool::DovTool(const VString& bannerFormat, const VString& programName, const VString& version)
    : banner_format(bannerFormat), program_name(programName), version(version) {}

DovTool::~DovTool() {
    // Members go in reverse order of declaration; the list and the output
    // name are emptied first.
    gen_file = VString();
    input_files.Clear();
}

DovTool DovTheTool(VString("%s: Vemlo ver %s."), VString("vemlo"), VString("4-2-0"));
