#include "report/SvgDocument.h"

#include "report/MarkupText.h"

namespace talver {

std::string SvgCoordinate(double value)
{
    std::string text = FixedText(value, 2);
    if (text == "n/a") {
        return "0";
    }
    while (text.back() == '0') {
        text.pop_back();
    }
    if (text.back() == '.') {
        text.pop_back();
    }
    return text == "-0" ? "0" : text;
}

std::string SvgPoint(double x, double y)
{
    return SvgCoordinate(x) + "," + SvgCoordinate(y) + " ";
}

namespace {

std::string Attribute(const char* name, const std::string& value)
{
    return std::string(" ") + name + "=\"" + MarkupEscaped(value) + "\"";
}

std::string Attribute(const char* name, double value)
{
    return std::string(" ") + name + "=\"" + SvgCoordinate(value) + "\"";
}

std::string StrokeAttributes(const SvgStroke& stroke)
{
    std::string text = Attribute("stroke", stroke.colour);
    if (stroke.colour != "none") {
        text += Attribute("stroke-width", stroke.width);
        if (!stroke.dashes.empty()) {
            text += Attribute("stroke-dasharray", stroke.dashes);
        }
    }
    return text;
}

} // namespace

SvgDocument::SvgDocument(double width, double height, const std::string& label, const std::string& id)
{
    head_ = "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\"" + (id.empty() ? "" : Attribute("id", id)) +
            Attribute("width", width) + Attribute("height", height) + " viewBox=\"0 0 " + SvgCoordinate(width) + " " +
            SvgCoordinate(height) + "\" role=\"img\"" + Attribute("aria-label", label) +
            ">\n<title>" + MarkupEscaped(label) +
            "</title>\n";
    // A white ground: the picture saved on its own is readable on any background.
    Rect(0, 0, width, height, "#ffffff");
}

void SvgDocument::Rect(double x, double y, double width, double height, const std::string& fill,
                       const SvgStroke& stroke)
{
    body_ += "<rect" + Attribute("x", x) + Attribute("y", y) + Attribute("width", width) +
             Attribute("height", height) + Attribute("fill", fill) + StrokeAttributes(stroke) + "/>\n";
}

void SvgDocument::Line(double x1, double y1, double x2, double y2, const SvgStroke& stroke)
{
    body_ += "<line" + Attribute("x1", x1) + Attribute("y1", y1) + Attribute("x2", x2) + Attribute("y2", y2) +
             StrokeAttributes(stroke) + "/>\n";
}

void SvgDocument::Circle(double cx, double cy, double r, const std::string& fill, const SvgStroke& stroke)
{
    body_ += "<circle" + Attribute("cx", cx) + Attribute("cy", cy) + Attribute("r", r) + Attribute("fill", fill) +
             StrokeAttributes(stroke) + "/>\n";
}

void SvgDocument::Polygon(const std::string& points, const std::string& fill, const SvgStroke& stroke)
{
    std::string trimmed = points;
    while (!trimmed.empty() && trimmed.back() == ' ') {
        trimmed.pop_back();
    }
    body_ += "<polygon" + Attribute("points", trimmed) + Attribute("fill", fill) + StrokeAttributes(stroke) + "/>\n";
}

void SvgDocument::Text(double x, double y, const std::string& text, const std::string& anchor, double size, bool bold,
                       double rotate)
{
    // The font on every text rather than on the root: HTML checkers know it there.
    body_ += "<text" + Attribute("x", x) + Attribute("y", y) + " font-family=\"DejaVu Sans, Arial, sans-serif\"" +
             Attribute("font-size", size) +
             Attribute("text-anchor", anchor) + Attribute("fill", "#000000");
    if (bold) {
        body_ += " font-weight=\"bold\"";
    }
    if (rotate != 0.0) {
        body_ += " transform=\"rotate(" + SvgCoordinate(rotate) + " " + SvgCoordinate(x) + " " + SvgCoordinate(y) +
                 ")\"";
    }
    body_ += ">" + MarkupEscaped(text) + "</text>\n";
}

void SvgDocument::BeginGroup(const std::string& className, const std::string& tooltip)
{
    body_ += "<g" + Attribute("class", className) + ">";
    if (!tooltip.empty()) {
        body_ += "<title>" + MarkupEscaped(tooltip) + "</title>";
    }
    body_ += "\n";
    ++openGroups_;
}

void SvgDocument::EndGroup()
{
    if (openGroups_ > 0) {
        body_ += "</g>\n";
        --openGroups_;
    }
}

std::string SvgDocument::Finish() const
{
    std::string text = head_ + body_;
    for (int k = 0; k < openGroups_; ++k) {
        text += "</g>\n";
    }
    return text + "</svg>\n";
}

} // namespace talver
