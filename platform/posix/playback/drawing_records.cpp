// The drawing records: lines, polygons, rectangles, the path records, and the few calls
// that hand the target DC its (target logical) points.
#include "platform/posix/playback/player.h"

namespace tamvel::posix::playback {

void Player::DrawPolyline(const std::vector<Point2> &points) {
  if (points.size() < 2) return;
  std::vector<POINT> t = ToTarget(points);
  Polyline(hdc_, t.data(), static_cast<int>(t.size()));
}

void Player::DrawPolygon(const std::vector<Point2> &points) {
  if (points.size() < 2) return;
  std::vector<POINT> t = ToTarget(points);
  ::Polygon(hdc_, t.data(), static_cast<int>(t.size()));
}

void Player::LineToAll(const std::vector<Point2> &points) {
  for (const Point2 &p : points) {
    POINT t = ToTarget(p.x, p.y);
    LineTo(hdc_, t.x, t.y);
  }
  if (!points.empty()) state_.position = points.back();
}

// Several closed figures filled as one shape (PolyPolygon, FillPath): the fill goes through
// one polygon that visits each figure and comes back along the same edge, so the joining
// edges cancel out under either fill rule; the outlines are drawn figure by figure.
void Player::FillTargetFigures(const std::vector<std::vector<POINT>> &figures) {
  std::vector<POINT> joined = JoinFigures(figures);
  if (joined.size() < 3) return;
  HGDIOBJ pen = SelectObject(hdc_, GetStockObject(NULL_PEN));
  ::Polygon(hdc_, joined.data(), static_cast<int>(joined.size()));
  if (pen) SelectObject(hdc_, pen);
}

void Player::DrawFigures(const std::vector<std::vector<Point2>> &figures) {
  if (dc_.path_open) {
    for (const auto &f : figures) DrawPolygon(f);
    return;
  }
  std::vector<std::vector<POINT>> target;
  for (const auto &f : figures) target.push_back(ToTarget(f));
  FillTargetFigures(target);
  for (auto &f : target) {
    if (f.size() < 2) continue;
    f.push_back(f.front());
    Polyline(hdc_, f.data(), static_cast<int>(f.size()));
  }
}

void Player::On(const emf::Record &record, const emf::RectValue &v) {
  const emf::Rect &r = v.rect;
  switch (record.type) {
    case emf::kEllipse: {
      std::vector<Point2> points = ArcPoints(r, {r.right, 0}, {r.right, 0}, true);
      if (!points.empty()) points.pop_back();
      DrawPolygon(points);
      break;
    }
    case emf::kRectangle:
      DrawPolygon({{double(r.left), double(r.top)},
                   {double(r.right), double(r.top)},
                   {double(r.right), double(r.bottom)},
                   {double(r.left), double(r.bottom)}});
      break;
    case emf::kIntersectClipRect:
      ClipToRectangle(r, RGN_AND);
      break;
    case emf::kExcludeClipRect:
      ClipToRectangle(r, RGN_DIFF);
      break;
    case emf::kFillPath:
      FillPath(false);
      break;
    case emf::kStrokeAndFillPath:
      FillPath(true);
      break;
    case emf::kStrokePath:
      StrokePath(hdc_);
      break;
    default:
      break;
  }
}

void Player::FillPath(bool stroke) {
  if (!dc_.path_ready) return;
  std::vector<std::vector<POINT>> figures;
  for (const PathFigure &f : dc_.path) figures.push_back(f.points);
  FillTargetFigures(figures);
  if (stroke) {
    StrokePath(hdc_);
  } else {
    dc_.path.clear();
    dc_.path_ready = false;
  }
}

void Player::On(const emf::Record &record, const emf::Poly &v) {
  std::vector<Point2> points = FromRecord(v.points);
  switch (record.type) {
    case emf::kPolyline:
    case emf::kPolyline16:
      DrawPolyline(points);
      break;
    case emf::kPolygon:
    case emf::kPolygon16:
      DrawPolygon(points);
      break;
    case emf::kPolylineTo:
    case emf::kPolylineTo16:
      LineToAll(points);
      break;
    case emf::kPolyBezier:
    case emf::kPolyBezier16:
      if (points.size() >= 4) {
        std::vector<Point2> curve{points.front()};
        std::vector<Point2> rest = Bezier(points.front(), {points.begin() + 1, points.end()});
        curve.insert(curve.end(), rest.begin(), rest.end());
        DrawPolyline(curve);
      }
      break;
    case emf::kPolyBezierTo:
    case emf::kPolyBezierTo16:
      LineToAll(Bezier(state_.position, points));
      break;
    default:
      break;
  }
}

void Player::On(const emf::Record &record, const emf::PolyPoly &v) {
  std::vector<std::vector<Point2>> figures;
  size_t at = 0;
  for (uint32_t count : v.counts) {
    if (count > v.points.size() - at) break;
    std::vector<Point2> figure;
    for (size_t i = at; i < at + count; ++i)
      figure.push_back({double(v.points[i].x), double(v.points[i].y)});
    figures.push_back(std::move(figure));
    at += count;
  }
  if (record.type == emf::kPolyPolyline || record.type == emf::kPolyPolyline16) {
    for (const auto &f : figures) DrawPolyline(f);
  } else if (figures.size() == 1) {
    DrawPolygon(figures.front());
  } else {
    DrawFigures(figures);
  }
}

}  // namespace tamvel::posix::playback
