#pragma once
// Drawing a page value with a QPainter: the preview picture and the system printers. One unit is one
// twip on any device; fonts are resolved at the device's resolution and pens are device pixels wide.
class QPainter;

namespace slp::print {

struct Page;

// Draws the page's lines and then its texts (everything is black, so the order does not show). Bold
// asked of a face without a bold of its own is stroked as well as filled.
void paint(const Page& page, QPainter& painter);

}  // namespace slp::print
