#pragma once
// A small writer of SVG documents: shapes and texts with presentation
// attributes only (no style sheets), so that browsers, printers and Qt's SVG
// renderer draw them alike. Coordinates are user units of the view box; the
// picture scales to the width it is given.

#include <string>

namespace talver {

struct SvgStroke {
    std::string colour = "none";
    double width = 1.0;
    std::string dashes; // e.g. "4 2"; empty for a solid line
};

class SvgDocument {
public:
    // `label` names the picture for screen readers (role="img").
    SvgDocument(double width, double height, const std::string& label, const std::string& id = "");

    void Rect(double x, double y, double width, double height, const std::string& fill,
              const SvgStroke& stroke = {});
    void Line(double x1, double y1, double x2, double y2, const SvgStroke& stroke);
    void Circle(double cx, double cy, double r, const std::string& fill, const SvgStroke& stroke = {});
    // A closed polygon through the points "x1,y1 x2,y2 ...".
    void Polygon(const std::string& points, const std::string& fill, const SvgStroke& stroke = {});
    // anchor: "start", "middle" or "end"; rotate: degrees about (x, y).
    void Text(double x, double y, const std::string& text, const std::string& anchor = "start",
              double size = 12.0, bool bold = false, double rotate = 0.0);
    // A group whose children show `tooltip` on hover; class names the kind of mark.
    void BeginGroup(const std::string& className, const std::string& tooltip = "");
    void EndGroup();

    std::string Finish() const;

private:
    std::string body_;
    std::string head_;
    int openGroups_ = 0;
};

// A coordinate as SVG text: two decimals, trailing zeros dropped.
std::string SvgCoordinate(double value);
// The points of a polygon, for Polygon.
std::string SvgPoint(double x, double y);

} // namespace talver
