// An independent reader of the XML the framework writes: Python's own
// parser, one line per element in document order, the name with its
// "_xHHHH_" escapes decoded and, when asked, "=" and the trimmed text.
#pragma once

#include <string>

#include "support/Process.h"

namespace testsupport {

inline std::string PythonXmlElements(const std::string& path, bool texts, int* status) {
    return Shell(std::string("python3 -c 'import re,sys,xml.etree.ElementTree as E\n"
                             "for e in E.parse(sys.argv[1]).getroot().iter():\n"
                             "  n = re.sub(\"_x([0-9A-Fa-f]{4})_\", lambda m: chr(int(m.group(1), 16)), e.tag)\n") +
                     (texts ? "  print(n, (e.text or \"\").strip(), sep=\"=\")' " : "  print(n)' ") + path + " 2>&1",
                 status);
}

}  // namespace testsupport
