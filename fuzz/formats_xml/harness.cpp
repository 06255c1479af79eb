// The workbook XML scanner on any bytes: every token, attribute and text is
// taken, and the scanner ends (with or without an error) without reading
// past its buffer or recursing.
#include "formats/xml_scanner.h"

#include <QBuffer>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QBuffer buffer;
    buffer.setData(reinterpret_cast<const char*>(data), qsizetype(size));
    buffer.open(QIODevice::ReadOnly);
    members::xlsx::XmlScanner xml(&buffer);
    for (int steps = 0; steps < 1000000; ++steps) {
        const members::xlsx::XmlScanner::Token token = xml.next();
        if (token == members::xlsx::XmlScanner::Token::EndOfDocument)
            break;
        if (token == members::xlsx::XmlScanner::Token::Start) {
            xml.attribute("r");
            xml.rawAttribute("t");
            if (xml.name() == "v")
                xml.elementText();
            else if (xml.name() == "skip")
                xml.skipElement();
        } else if (token == members::xlsx::XmlScanner::Token::Text) {
            xml.text();
        }
    }
    return 0;
}
