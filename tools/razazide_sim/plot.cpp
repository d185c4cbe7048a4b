#include "plot.h"

#include <algorithm>

namespace raz::simcli {
namespace {

void Polyline(std::ostream& svg, const PixelStroke& stroke, const char* style) {
  if (stroke.points.empty()) return;
  svg << "<polyline style=\"" << style << "\" points=\"";
  for (const auto& p : stroke.points) svg << p.x << ',' << p.y << ' ';
  svg << "\"/>\n";
  if (stroke.points.size() == 1) {
    svg << "<circle cx=\"" << stroke.points[0].x << "\" cy=\"" << stroke.points[0].y
        << "\" r=\"2\" fill=\"#1030c0\"/>\n";
  }
}

}  // namespace

std::vector<PixelStroke> TrueStrokes(const sim::ScenarioPlayer& player, std::uint64_t stepMicros,
                                     std::uint64_t endMicros) {
  std::vector<PixelStroke> strokes;
  bool inStroke = false;
  const std::uint64_t end = std::min(endMicros, player.EndMicros());
  for (std::uint64_t t = 0; t <= end; t += stepMicros) {
    const sim::PenState pen = player.PenAt(t);
    if (pen.contact != sim::PenContact::Touch) {
      inStroke = false;
      continue;
    }
    if (!inStroke) strokes.emplace_back();
    inStroke = true;
    strokes.back().points.push_back(player.projection().ToScreen(pen.position));
  }
  return strokes;
}

std::vector<PixelStroke> InjectedStrokes(const std::vector<LoggedMouseEvent>& events) {
  std::vector<PixelStroke> strokes;
  bool down = false;
  for (const LoggedMouseEvent& e : events) {
    const sim::PixelPoint p{static_cast<double>(e.x), static_cast<double>(e.y)};
    if (e.flags & MouseFlags::LeftDown) {
      strokes.push_back({{p}});
      down = true;
    } else if ((e.flags & MouseFlags::Move) && down) {
      strokes.back().points.push_back(p);
    }
    if (e.flags & MouseFlags::LeftUp) down = false;
  }
  return strokes;
}

void WritePlot(std::ostream& svg, int width, int height, const std::vector<PixelStroke>& truth,
               const std::vector<PixelStroke>& injected,
               const std::vector<LoggedMouseEvent>& events) {
  svg << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << width << "\" height=\"" << height
      << "\" viewBox=\"0 0 " << width << ' ' << height << "\">\n"
      << "<rect width=\"100%\" height=\"100%\" fill=\"white\" stroke=\"#888\"/>\n";
  for (const auto& s : truth) {
    Polyline(svg, s, "fill:none;stroke:#f0a030;stroke-width:7;stroke-linecap:round;opacity:0.45");
  }
  for (const auto& s : injected) {
    Polyline(svg, s, "fill:none;stroke:#1030c0;stroke-width:1.5;stroke-linejoin:round");
  }
  for (const LoggedMouseEvent& e : events) {
    if (e.flags & MouseFlags::RightDown) {
      svg << "<circle cx=\"" << e.x << "\" cy=\"" << e.y
          << "\" r=\"8\" fill=\"none\" stroke=\"#d00000\" stroke-width=\"2\"/>\n";
    }
  }
  svg << "<text x=\"10\" y=\"20\" font-family=\"sans-serif\" font-size=\"14\">"
         "orange: true pen strokes; blue: injected left-button strokes; red ring: right click"
         "</text>\n</svg>\n";
}

}  // namespace raz::simcli
