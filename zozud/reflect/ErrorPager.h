// cErrorPager: gathers the problems met while loading reflected objects. A
// reporting pager also writes each message to the core log as a warning; a
// silent one keeps plain messages and drops the XML-located ones, unless it
// collects: then it keeps every message for its caller and logs none.
#pragma once

#include "zozud/core/Str.h"

namespace zozud {

class cXml;

class cErrorPager {
public:
    static constexpr int SourcePreviewLength = 500;  // characters of XML source shown with a message

    explicit cErrorPager(bool report = true) : m_Report(report) {}

    // Appends the message; a reporting pager also logs it as a warning.
    void print(const char* fmt, ...) __attribute__((format(printf, 2, 3)));
    // Reporting pagers: appends the message and logs it together with the
    // node's source text (cut to SourcePreviewLength characters). Collecting
    // silent pagers: appends it only.
    void xml_print(cXml& node, const char* fmt, ...) __attribute__((format(printf, 3, 4)));

    const cStr& GetText() const { return m_Text; }
    bool GetReport() const { return m_Report; }
    void SetReport(bool on) { m_Report = on; }
    bool GetCollect() const { return m_Collect; }
    void SetCollect(bool on) { m_Collect = on; }
    void Clear() { m_Text.Clear(); }

private:
    cStr m_Text;
    bool m_Report;
    bool m_Collect = false;
};

}  // namespace zozud
