// How deep the elements of untrusted XML nest, measured before a recursive parser sees it.
#pragma once

#include <cstddef>
#include <cstdint>

// Deeper than any profiler report; libplist recurses once a level when it builds and frees a
// tree, so deeper input could exhaust the stack.
constexpr std::size_t kMaximumXmlNesting = 64;

// True when the bytes hold no element nested deeper than kMaximumXmlNesting and nothing that
// parsers could read in more than one way. Comments, CDATA sections, processing instructions
// and the document type are skipped as XML skips them, so they hide no tag. Refused: closing
// tags that do not match, quoted '<' or '>' inside markup, single quotes in tags, an internal
// document type subset, an unknown "<!" construct, markup cut short. One linear pass.
bool XmlNestingWithinLimit(const uint8_t* bytes, std::size_t size);

struct XmlPart {
    const uint8_t* bytes;
    std::size_t size;
};

// The XML document inside output that may hold other text (a loader's warning on standard
// error): from the first XML declaration or "<plist" to the end of the root element that
// follows, or to the end of the output where that element does not end. Empty when neither
// is found. The nesting guard and the parser both read this part alone.
XmlPart XmlDocumentPart(const uint8_t* bytes, std::size_t size);
