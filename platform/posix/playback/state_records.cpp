// The records that change the state of playback: modes, colours, the recorded page and world
// transforms, the position, SaveDC/RestoreDC and the path bracket.
#include <algorithm>
#include <cmath>

#include "platform/posix/playback/player.h"

namespace tamvel::posix::playback {

void Player::On(const emf::Record &record, const emf::Value &v) {
  switch (record.type) {
    case emf::kSetMapMode:
      if (IsValidMode(v.AsInt())) {
        ApplyMapMode(state_.mapping, v.AsInt(), recorded_reference_);
        UpdateTransform();
      }
      break;
    case emf::kSetBkMode:
      SetBkMode(hdc_, v.AsInt());
      break;
    case emf::kSetPolyFillMode:
      SetPolyFillMode(hdc_, v.AsInt());
      break;
    case emf::kSetRop2:
      SetROP2(hdc_, v.AsInt());
      break;
    case emf::kSetTextAlign:
      SetTextAlign(hdc_, v.value);
      break;
    case emf::kSetTextColor:
      SetTextColor(hdc_, v.value);
      break;
    case emf::kSetBkColor:
      SetBkColor(hdc_, v.value);
      break;
    case emf::kSetArcDirection:
      if (v.AsInt() == AD_CLOCKWISE || v.AsInt() == AD_COUNTERCLOCKWISE) {
        state_.arc_direction = v.AsInt();
      }
      break;
    case emf::kSelectObject:
      Select(v.value);
      break;
    case emf::kSelectPalette:
      SelectPalette(v.value);
      break;
    case emf::kDeleteObject:
      // The target's objects stay until the end (one may still be selected); the slot is
      // free for the next CREATE record.
      if (Slot *slot = SlotAt(v.value)) *slot = Slot{};
      break;
    case emf::kSelectClipPath:
      SelectClipPath(v.AsInt());
      break;
    case emf::kRestoreDc:
      RestoreLevel(v.AsInt());
      break;
    default:
      break;  // stretch mode, ICM, layout, mapper flags, miter limit
  }
}

// RESTOREDC: a level of the playback's own saves (relative when negative); a level outside
// them would restore the caller's state and is skipped.
void Player::RestoreLevel(int level) {
  const long long depth = static_cast<long long>(saved_.size());
  const long long pops = level < 0 ? -static_cast<long long>(level) : depth - level + 1;
  if (level == 0 || pops < 1 || pops > depth) return;
  RestoreDC(hdc_, static_cast<int>(-pops));
  state_ = saved_[depth - pops];
  saved_.resize(depth - pops);
  UpdateTransform();
}

void Player::On(const emf::Record &record, const emf::PointValue &v) {
  const emf::Point p = v.point;
  switch (record.type) {
    case emf::kMoveToEx: {
      state_.position = {double(p.x), double(p.y)};
      POINT t = ToTarget(p.x, p.y);
      MoveToEx(hdc_, t.x, t.y, nullptr);
      break;
    }
    case emf::kLineTo: {
      state_.position = {double(p.x), double(p.y)};
      POINT t = ToTarget(p.x, p.y);
      LineTo(hdc_, t.x, t.y);
      break;
    }
    case emf::kSetWindowOrgEx:
      state_.mapping.window_org = {p.x, p.y};
      UpdateTransform();
      break;
    case emf::kSetViewportOrgEx:
      state_.mapping.viewport_org = {p.x, p.y};
      UpdateTransform();
      break;
    case emf::kSetWindowExtEx:
      OnMapExtent(true, p);
      break;
    case emf::kSetViewportExtEx:
      OnMapExtent(false, p);
      break;
    default:
      break;  // brush origin, pixels
  }
}

void Player::On(const emf::Record &record, const emf::Empty &) {
  switch (record.type) {
    case emf::kSaveDc:
      if (SaveDC(hdc_) != 0) saved_.push_back(state_);
      break;
    case emf::kBeginPath:
      BeginPath(hdc_);
      break;
    case emf::kEndPath:
      EndPath(hdc_);
      break;
    case emf::kCloseFigure:
      if (dc_.path_open && !dc_.path.empty()) dc_.path.back().closed = true;
      break;
    case emf::kAbortPath:
      dc_.path.clear();
      dc_.path_open = false;
      dc_.path_ready = false;
      break;
    case emf::kRealizePalette:
      RealizePalette(hdc_);
      break;
    default:
      break;  // FLATTENPATH (paths are flat already), WIDENPATH, SETMETARGN
  }
}

void Player::OnMapExtent(bool window, const emf::Point &extent) {
  PageMapping &m = state_.mapping;
  if (IsFixedMode(m.mode) || extent.x == 0 || extent.y == 0) return;
  if (window) {
    m.window_ext = {extent.x, extent.y};
  } else {
    m.viewport_ext = {extent.x, extent.y};
  }
  if (m.mode == MM_ISOTROPIC) {
    // Equal units on both axes: the viewport extent shrinks on the larger scale.
    const double sx = std::fabs(ScaleX(m)), sy = std::fabs(ScaleY(m));
    if (sx > sy) {
      m.viewport_ext.cx = RoundToLong(m.viewport_ext.cx * sy / sx);
    } else if (sy > sx) {
      m.viewport_ext.cy = RoundToLong(m.viewport_ext.cy * sx / sy);
    }
    if (m.viewport_ext.cx == 0) m.viewport_ext.cx = 1;
    if (m.viewport_ext.cy == 0) m.viewport_ext.cy = 1;
  }
  UpdateTransform();
}

// ScaleWindowExtEx and ScaleViewportExtEx: extent * num / denom, rounded like MulDiv; a zero
// denominator fails the call and changes nothing.
void Player::On(const emf::Record &record, const emf::ExtentScale &v) {
  const bool window = record.type == emf::kScaleWindowExtEx;
  if (v.x_denom == 0 || v.y_denom == 0) return;
  const PageMapping &m = state_.mapping;
  const SIZE &extent = window ? m.window_ext : m.viewport_ext;
  auto scaled = [](LONG value, int32_t num, int32_t denom) {
    const double result = std::round(double(value) * num / denom);
    return static_cast<int32_t>(std::clamp(result, double(INT32_MIN), double(INT32_MAX)));
  };
  OnMapExtent(window,
              {scaled(extent.cx, v.x_num, v.x_denom), scaled(extent.cy, v.y_num, v.y_denom)});
}

void Player::On(const emf::Record &record, const emf::WorldTransform &v) {
  const Affine x = FromXform(v.xform);
  if (record.type == emf::kSetWorldTransform) {
    state_.world = x;
  } else {
    switch (v.mode) {
      case 1:
        state_.world = Affine{};
        break;  // MWT_IDENTITY
      case 2:
        state_.world = Compose(state_.world, x);
        break;  // MWT_LEFTMULTIPLY
      case 3:
        state_.world = Compose(x, state_.world);
        break;  // MWT_RIGHTMULTIPLY
      case 4:
        state_.world = x;
        break;  // MWT_SET
      default:
        return;
    }
  }
  UpdateTransform();
}

}  // namespace tamvel::posix::playback
