#include "zozud/reflect/ErrorPager.h"

#include <cstdarg>

#include "zozud/core/Log.h"
#include "zozud/reflect/Xml.h"

namespace zozud {

void cErrorPager::print(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    cStr message = cStr::Formatv(fmt, args);
    va_end(args);
    m_Text.Append(message);
    if (m_Report) cLog::Warning("%s", message.ToChar());
}

void cErrorPager::xml_print(cXml& node, const char* fmt, ...) {
    if (!m_Report && !m_Collect) return;
    va_list args;
    va_start(args, fmt);
    cStr message = cStr::Formatv(fmt, args);
    va_end(args);
    m_Text.Append(message);
    if (!m_Report) return;
    cStr source = node.GetSourcePreview(SourcePreviewLength);
    cLog::Warning("Class engine warning!\r\n\r\n%sXML source: %s\r\n", message.ToChar(), source.ToChar());
}

}  // namespace zozud
