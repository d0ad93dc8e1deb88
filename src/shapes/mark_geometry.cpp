// Construction points and step tables of the drawn marks.
#include "src/shapes/mark_geometry.h"

#include <cmath>

namespace tamvel {
namespace {

// a * p + b * q coordinate by coordinate, stored as floats.
PlotPoint Blend(double a, PlotPoint p, double b, PlotPoint q) {
  return {static_cast<float>(a * p.x + b * q.x), static_cast<float>(a * p.y + b * q.y)};
}

}  // namespace

float Ctsym2Radius(float height) { return 0.4f * height; }
float CtsymbRadius(float height) { return static_cast<float>(0.375 * height); }

MarkPoints MarkConstructionPoints(float x, float y, float r, float angle) {
  MarkPoints points;
  for (int k = 0; k < 8; ++k) {
    const double a = (static_cast<double>(angle) + 45.0 * k) * kDegreesToRadians;
    float dx = static_cast<float>(r * std::cos(a));
    float dy = static_cast<float>(r * std::sin(a));
    if (k % 2 == 1) {
      dx *= 1.4142135f;
      dy *= 1.4142135f;
    }
    points[k] = {x + dx, y + dy};
  }
  return points;
}

ShapeProgram Ctsym2Program(float x, float y, float r, const MarkPoints &k, int32_t code) {
  ShapeProgram p;
  const PlotPoint centre{x, y};
  switch (code) {
    case 0:  // square
      p.Outline({k[kNE], k[kNW], k[kSW], k[kSE], k[kNE]});
      break;
    case 1:  // circle
      p.Circle(centre, r);
      break;
    case 2:  // triangle, apex up
      p.Outline({k[kN], k[kSW], k[kSE], k[kN]});
      break;
    case 3:  // plus
      p.Stroke(k[kN], k[kS]);
      p.Stroke(k[kE], k[kW]);
      break;
    case 4:  // diagonal cross
      p.Stroke(k[kNE], k[kSW]);
      p.Stroke(k[kNW], k[kSE]);
      break;
    case 5:  // diamond
      p.Outline({k[kN], k[kW], k[kS], k[kE], k[kN]});
      break;
    case 6:  // filled square
      p.Fill({k[kNE], k[kNW], k[kSW], k[kSE], k[kNE]}, -1);
      break;
    case 7:  // filled circle
      p.Disc(centre, r);
      break;
    case 8:  // filled triangle
      p.Fill({k[kN], k[kSW], k[kSE], k[kN]}, -1);
      break;
    case 9:  // filled diamond
      p.Fill({k[kN], k[kW], k[kS], k[kE], k[kN]}, -1);
      break;
    case 10:  // eight-armed asterisk
      p.Stroke(k[kN], k[kS]);
      p.Stroke(k[kE], k[kW]);
      p.Stroke(k[kNE], k[kSW]);
      p.Stroke(k[kNW], k[kSE]);
      break;
    case 11:  // triangle, apex down
      p.Stroke(k[kNE], k[kNW]);
      p.Draw(k[kS]);
      p.Draw(k[kNE]);
      break;
    default:
      break;
  }
  return p;
}

ShapeProgram CtsymbProgram(float x, float y, const MarkPoints &k, int32_t code) {
  ShapeProgram p;
  const PlotPoint centre{x, y};
  switch (code) {
    case 0:  // square with a stroke from the centre to the middle of its top side
      p.Draw(k[kN]);
      p.Stroke(k[kNE], k[kNW]);
      p.Draw(k[kSW]);
      p.Draw(k[kSE]);
      p.Draw(k[kNE]);
      break;
    case 1: {  // octagon with a stroke from the centre to the middle of its top side
      PlotPoint t[8];
      for (int j = 0; j < 4; ++j) {
        const PlotPoint a = k[2 * j + 1];
        const PlotPoint b = k[(2 * j + 3) % 8];
        t[2 * j] = Blend(0.725, a, 0.275, b);
        t[2 * j + 1] = Blend(0.275, a, 0.725, b);
      }
      p.Draw(k[kN]);
      p.Outline({t[0], t[1], t[2], t[3], t[4], t[5], t[6], t[7], t[0]});
      break;
    }
    case 2:  // triangle with a stroke from the centre to the apex
      p.Draw(k[kN]);
      p.Draw(k[kSW]);
      p.Draw(k[kSE]);
      p.Draw(k[kN]);
      break;
    case 3:  // plus
    case 4:  // diagonal cross
      return Ctsym2Program(x, y, 0.0f, k, code);
    case 5:  // diamond with a stroke from the centre to its top vertex
      p.Draw(k[kN]);
      p.Draw(k[kW]);
      p.Draw(k[kS]);
      p.Draw(k[kE]);
      p.Draw(k[kN]);
      break;
    case 6:  // plus joined by a chevron from W over N to E
      p.Stroke(k[kN], k[kS]);
      p.Stroke(k[kE], k[kW]);
      p.Draw(k[kN]);
      p.Draw(k[kE]);
      break;
    case 7:  // two diagonals joined across the top
      p.Stroke(k[kSE], k[kNW]);
      p.Draw(k[kNE]);
      p.Draw(k[kSW]);
      break;
    case 8:  // Z with a short bar through the centre
      p.Stroke(k[kSE], k[kSW]);
      p.Draw(k[kNE]);
      p.Draw(k[kNW]);
      p.Stroke(Blend(0.66666666, k[kE], 0.33333333, k[kW]),
               Blend(0.33333333, k[kE], 0.66666666, k[kW]));
      break;
    case 9:  // Y
      p.Draw(k[kNE]);
      p.Stroke(centre, k[kNW]);
      p.Stroke(centre, k[kS]);
      break;
    case 10: {  // small square with rays to the corners
      const PlotPoint a1 = Blend(0.72, k[kNE], 0.28, k[kSW]);
      const PlotPoint a2 = Blend(0.72, k[kNW], 0.28, k[kSE]);
      const PlotPoint a3 = Blend(0.28, k[kNE], 0.72, k[kSW]);
      const PlotPoint a4 = Blend(0.28, k[kNW], 0.72, k[kSE]);
      p.Draw(k[kNE]);
      p.Stroke(a2, k[kNW]);
      p.Stroke(a3, k[kSW]);
      p.Stroke(a4, k[kSE]);
      p.Outline({a1, a2, a3, a4, a1});
      break;
    }
    case 11: {  // asterisk with longer diagonal arms
      const PlotPoint b1 = Blend(0.89, k[kNE], 0.11, k[kSW]);
      const PlotPoint b2 = Blend(0.89, k[kNW], 0.11, k[kSE]);
      const PlotPoint b3 = Blend(0.11, k[kNE], 0.89, k[kSW]);
      const PlotPoint b4 = Blend(0.11, k[kNW], 0.89, k[kSE]);
      p.Stroke(k[kN], k[kS]);
      p.Stroke(k[kE], k[kW]);
      p.Stroke(b1, b3);
      p.Stroke(b2, b4);
      break;
    }
    case 12:  // hourglass closed at top and bottom
      p.Stroke(k[kNE], k[kSW]);
      p.Draw(k[kSE]);
      p.Draw(k[kNW]);
      p.Draw(k[kNE]);
      break;
    case 13:  // vertical bar
    case 14:
      p.Stroke(k[kN], k[kS]);
      break;
    default:
      break;
  }
  return p;
}

}  // namespace tamvel
