#include "AxisGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "NumberFormat.h"
#include "ScaleSteps.h"

namespace {

// Sensible scales need a few thousand loop steps per graph. A state with millions of divisions
// (data of absurd magnitude) is cut off here instead of hanging the redraw or filling memory.
constexpr long kMaxLoopSteps = 1L << 19;

// Pixel sums in 64 bits, brought back into the int range.
int Px(int64_t v) {
  return static_cast<int>(
      std::clamp<int64_t>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

int Half(int x) {
  return x / 2;
}

// The numbers of one axis as the drawing uses them.
struct TAxisView {
  double Min = 0;
  double Range = 100;  // max - min, 100 for a collapsed range
  double Step = 0;
  double First = 0;
  double NumDivs = 0;
  double Shown = 0;
  int Parts = 1;  // a major interval is divided into this many minor ones
  int FmtIndex = 0;
};

TAxisView View(const TAxisState& s, int i) {
  const auto k = static_cast<std::size_t>(i);
  TAxisView v;
  v.Min = s.FAxisMin[k];
  v.Range = static_cast<double>(s.FAxisMax[k]) - s.FAxisMin[k];
  if (v.Range == 0) v.Range = 100;
  v.Step = s.FAxisStep[k];
  v.First = s.FFirstLabel[k];
  v.NumDivs = s.FNumDivs[k];
  v.Shown = s.FNumDivsShown[k];
  v.Parts = MinorParts(s.FFmtIndex[k]);
  v.FmtIndex = s.FFmtIndex[k];
  return v;
}

// Pixels per data unit along an extent; a collapsed range gets a hundredth of the extent.
float PixPerUnit(int extent, const TAxisState& s, int i) {
  const auto k = static_cast<std::size_t>(i);
  const double range = static_cast<double>(s.FAxisMax[k]) - s.FAxisMin[k];
  // A range of a few denormals would overflow single precision.
  constexpr double kMax = std::numeric_limits<float>::max();
  return static_cast<float>(std::clamp(range == 0 ? extent * 0.01 : extent / range, -kMax, kMax));
}

class TAxesPlanner {
 public:
  TAxesPlanner(const TAxisState& state, const TAxesInput& in, const TTextMetrics& metrics,
               TAxesPlan& plan)
      : S(state), In(in), M(metrics), P(plan) {
    L = in.Plot.Left;
    T = in.Plot.Top;
    R = in.Plot.Right;
    B = in.Plot.Bottom;
    W = in.Plot.Width();
    H = in.Plot.Height();
    D = in.TickLen;
    A = 2 * in.Graph + 1;
    Bx = 2 * in.Graph + 2;
  }

  void Run() {
    P.ShowRight = In.RightInUse;
    P.ShowLeft = !In.RightInUse || In.LeftInUse;
    P.Primary = P.ShowLeft ? A : Bx;
    P.LabelHeight = In.LabelHeight;
    P.PixPerUnit = S.FPixPerUnit;
    if (W < 1 || H < 1) return;
    P.PlotWidth = W;
    P.PlotHeight = H;

    const bool gridDone = In.SnapToScale ? SnappedGrid() : ExactGrid();
    if (!gridDone) {
      P.Outcome = TAxesOutcome::GiveUp;
      return;
    }
    if (P.ShowLeft) LeftAxis();
    if (P.ShowRight) RightAxis();
    if (In.Graph == In.NumGraphs - 1) XAxis();

    P.PixPerUnit[0] = PixPerUnit(W, S, 0);
    P.PixPerUnit[static_cast<std::size_t>(A)] = PixPerUnit(H, S, A);
    if (P.ShowRight) P.PixPerUnit[static_cast<std::size_t>(Bx)] = PixPerUnit(H, S, Bx);
    P.Outcome = TAxesOutcome::Drawn;
  }

 private:
  bool Step() { return FStepsLeft-- > 0; }

  // Grid dots are dashes 3 pixels long.
  void HorzDot(int x, int y) {
    P.Grid.push_back({{Px(int64_t{x} + 1), y}, {Px(int64_t{x} - 2), y}});
  }
  void VertDot(int x, int y) {
    P.Grid.push_back({{x, Px(int64_t{y} + 1)}, {x, Px(int64_t{y} - 2)}});
  }

  // Grid through the major positions when the range is a whole number of steps.
  bool SnappedGrid() {
    const double n0 = S.FNumDivs[0];
    const double np = S.FNumDivs[static_cast<std::size_t>(P.Primary)];
    const int e = std::max(1, Round(W / n0 / D));
    for (int i = 0; i < np && Step(); ++i) {
      const int y = TruncInt(static_cast<double>(H) * i / np);
      for (int t = 1; t < e * n0 && Step(); ++t) {
        HorzDot(std::min(Round(static_cast<double>(W) * t / n0 / e), Round(W - 2)), y);
      }
    }
    const int e2 = std::max(1, Round(H / np / D));
    for (int t = 0; t < n0 && Step(); ++t) {
      const int x = Round(t / n0 * W);
      for (int k = TruncInt(e2 * np); k >= 1 && Step(); --k) {
        VertDot(x, Round(static_cast<double>(H) * k / np / e2));
      }
    }
    return true;
  }

  // Grid through the labels inside an exact range; false when the dots would merge.
  bool ExactGrid() {
    const TAxisView x = View(S, 0);
    const TAxisView p = View(S, P.Primary);
    const double oY = H * (p.First - p.Min) / p.Range;
    const double sY = H * p.Step / p.Range;
    const double oX = W * (x.First - x.Min) / x.Range;
    const double sX = W * x.Step / x.Range;

    const int e = std::max(1, Round(W / x.NumDivs / D));
    const double dx = sX / e;
    // Compares a pixel spacing with the data set's smallest span, as the control always has; a
    // spacing that is not a positive number gives up as well, since its loop could never end.
    if (!(dx > 0) || dx < In.MinXStep) return false;
    const double phi = std::fmod(oX, dx);
    for (int i = 0; i <= p.Shown && Step(); ++i) {
      const int y = Round(H - i * sY - oY);
      if (0 < y && y < H) {
        for (int t = 0; Step(); ++t) {
          const int xx = Round(t * dx + phi);
          HorzDot(xx, y);
          if (xx > W - dx) break;
        }
      }
    }

    const int e2 = std::max(1, Round(H / p.NumDivs / D));
    const double dy = sY / e2;
    if (!(dy > 0) || dy < In.MinXStep) return false;
    const double psi = std::fmod(oY, dy);
    for (int t = 0; t <= x.Shown && Step(); ++t) {
      const int xx = Round(t * sX + oX);
      if (xx < W) {
        for (int k = 0; Step(); ++k) {
          const int y = TruncInt(H - k * dy - psi);
          VertDot(xx, y);
          if (y < dy) break;
        }
      }
    }
    return true;
  }

  // Prints the value with the axis's scale format and advances it by the step, in single
  // precision as the labels always have been.
  std::string DrawLabel(float& value, float step, int axis) {
    const char* fmt = axis >= 0 && axis < kNumAxes
                          ? StepEntry(S.FFmtIndex[static_cast<std::size_t>(axis)]).FScaleFmt
                          : "%f";
    std::string text = FormatFloat(fmt, value);
    value += step;
    return text;
  }

  void AddNumber(int x, int y, std::string text, TTextAlign align, int axis) {
    P.Numbers.push_back({{x, y}, std::move(text), align, axis});
  }

  // Pixel offset of the first label and pixels per step on a Y axis (exact range).
  int Offset(const TAxisView& v, int extent) const {
    return TruncInt(extent * (v.First - v.Min) / v.Range);
  }
  double Spacing(const TAxisView& v, int extent) const { return extent * v.Step / v.Range; }

  void LeftAxis() {
    const TAxisView v = View(S, A);
    const int off = Offset(v, H);
    const double sp = Spacing(v, H);
    const int halfRadius = Half(In.Radius);
    if (In.ShowTickarks) {
      auto tick = [&](int y) {
        P.Ticks.push_back(
            {{Px(int64_t{L} - Round(D * 0.5)), y}, {Px(int64_t{L} + Round(D * 0.5 + 1)), y}});
      };
      if (In.SnapToScale) {
        const int count = Round(v.Parts * v.NumDivs);
        for (int i = 0; i < count && Step(); ++i) {
          const int y = Round(static_cast<double>(H) * i / v.NumDivs / v.Parts + T);
          if (T + halfRadius < y && y < B - halfRadius) tick(y);
        }
      } else {
        const double d = sp / v.Parts;
        const double phi = std::fmod(off, d);
        for (int t = 0; d > 0 && Step(); ++t) {
          const int y = Round(B - t * d - phi);
          if (y < B - halfRadius) tick(y);
          if (y < T + d + halfRadius) break;
        }
      }
    }

    float value;
    const float step = S.FAxisStep[static_cast<std::size_t>(A)];
    auto number = [&](int y) {
      std::string text = DrawLabel(value, step, A);
      const int x = Px(int64_t{L} - M.TextWidth(text) - 5);
      AddNumber(x, y, std::move(text), TTextAlign::Right, A);
    };
    if (In.SnapToScale) {
      value = S.FAxisMin[static_cast<std::size_t>(A)];
      P.LabelHeight = M.TextHeight("8");
      for (int k = TruncInt(v.NumDivs); k >= 0 && Step(); --k) {
        number(
            Px(int64_t{Round(static_cast<double>(H) * k / v.NumDivs + T)} - Half(P.LabelHeight)));
      }
    } else {
      value = S.FFirstLabel[static_cast<std::size_t>(A)];
      for (int i = 0; i <= v.Shown && Step(); ++i) {
        P.LabelHeight = M.TextHeight("M");
        number(Px(int64_t{Round(B - i * sp)} - off - Half(P.LabelHeight)));
      }
    }
  }

  void RightAxis() {
    const TAxisView v = View(S, Bx);
    const int off = Offset(v, H);
    const double sp = Spacing(v, H);
    const int halfRadius = Half(In.Radius);
    if (In.ShowTickarks) {
      auto tick = [&](int y) {
        P.Ticks.push_back({{Px(int64_t{R} - Half(D)), y}, {Px(int64_t{R} + Half(D) + 1), y}});
      };
      if (In.SnapToScale) {
        for (int k = Round(v.Parts * v.NumDivs); k >= 0 && Step(); --k) {
          const int y = Round(static_cast<double>(H) * k / v.NumDivs / v.Parts + T);
          if (T + halfRadius < y && y < B - halfRadius) tick(y);
        }
      } else {
        const double d = sp / v.Parts;
        const int rho = Round(std::fmod(off, d));
        for (int t = 0; d > 0 && Step(); ++t) {
          const int y = Px(int64_t{Round(B - t * d)} - rho);
          if (y < B - halfRadius) tick(y);
          if (y < T + d + halfRadius) break;
        }
      }
    }

    const int x = R + 2 + (In.ShowShadow ? 4 : 0);
    float value;
    const float step = S.FAxisStep[static_cast<std::size_t>(Bx)];
    auto number = [&](int y) { AddNumber(x, y, DrawLabel(value, step, Bx), TTextAlign::Left, Bx); };
    if (In.SnapToScale) {
      value = S.FAxisMin[static_cast<std::size_t>(Bx)];
      for (int k = TruncInt(v.NumDivs); k >= 0 && Step(); --k) {
        number(
            Px(int64_t{Round(static_cast<double>(H) * k / v.NumDivs + T)} - Half(P.LabelHeight)));
      }
    } else {
      value = S.FFirstLabel[static_cast<std::size_t>(Bx)];
      for (int i = 0; i <= v.Shown && Step(); ++i) {
        number(Px(int64_t{Round(B - i * sp)} - off - Half(P.LabelHeight)));
      }
    }
  }

  // The X axis belongs to the lowest graph only.
  void XAxis() {
    const TAxisView v = View(S, 0);
    const int off = Offset(v, W);
    const double sp = Spacing(v, W);
    const int halfRadius = Half(In.Radius);
    if (In.ShowTickarks) {
      auto tick = [&](int x) {
        P.Ticks.push_back({{x, Px(int64_t{B} - Half(D))}, {x, Px(int64_t{B} + Half(D) + 1)}});
      };
      if (In.SnapToScale) {
        const int count = Round(v.Parts * v.NumDivs);
        for (int t = 0; t < count && Step(); ++t) {
          const int x = Round(static_cast<double>(W) * t / v.NumDivs / v.Parts + L);
          if (L + halfRadius < x && x < R - halfRadius) tick(x);
        }
      } else {
        const double d = sp / v.Parts;
        const int rho = Round(std::fmod(off, d));
        for (int t = 0; d > 0 && Step(); ++t) {
          const int x = Px(int64_t{Round(t * d + L)} + rho);
          if (x > L + halfRadius) tick(x);
          if (x > R - d - halfRadius) break;
        }
      }
    }

    const int y = B + (In.ShowShadow ? 5 : 0);
    const float step = S.FAxisStep[0];
    float value;
    // Centred by the width of the value with just the decimals its step needs.
    auto number = [&](int64_t centre) {
      const int halfWidth = Round(Half(M.TextWidth(Lbl2Str(value, step))));
      AddNumber(Px(centre - halfWidth), y, DrawLabel(value, step, 0), TTextAlign::Center, 0);
    };
    if (In.SnapToScale) {
      value = S.FAxisMin[0];
      for (int t = 0; t <= v.NumDivs && Step(); ++t) {
        number(Round(static_cast<double>(W) * t / v.NumDivs + L));
      }
    } else {
      value = S.FFirstLabel[0];
      for (int t = 0; t <= v.Shown && Step(); ++t) {
        number(int64_t{Round(t * sp + L)} + off);
      }
    }
  }

  const TAxisState& S;
  const TAxesInput& In;
  const TTextMetrics& M;
  TAxesPlan& P;
  long FStepsLeft = kMaxLoopSteps;
  int L = 0, T = 0, R = 0, B = 0, W = 0, H = 0, D = 0;
  int A = 1;   // left axis of the graph
  int Bx = 2;  // right axis of the graph
};

bool ValidGraph(const TAxesInput& in) {
  return in.Graph >= 0 && in.Graph < kMaxGraphs;
}

}  // namespace

bool AxesNeedScaleReset(const TAxisState& state, const TAxesInput& in) {
  if (!ValidGraph(in) || in.Plot.Width() < 1 || in.Plot.Height() < 1) return false;
  const int a = 2 * in.Graph + 1;
  const int b = a + 1;
  const int p = (!in.RightInUse || in.LeftInUse) ? a : b;
  for (int i : {p, 0, a, b}) {
    const auto k = static_cast<std::size_t>(i);
    if (static_cast<double>(state.FAxisMax[k]) - state.FAxisMin[k] == 0) return true;
  }
  return false;
}

TAxesPlan PlanAxes(const TAxisState& state, const TAxesInput& in, const TTextMetrics& metrics) {
  TAxesPlan plan;
  plan.PixPerUnit = state.FPixPerUnit;
  plan.LabelHeight = in.LabelHeight;
  if (!ValidGraph(in)) return plan;
  TAxesPlanner(state, in, metrics, plan).Run();
  return plan;
}
