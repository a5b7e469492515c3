#pragma once

// Operations of the graph that belong to its interaction files (zoom history, vertical cursor,
// axis channel selection). The window calls them through these helpers, which compile to the
// graph's own member once it has it and to nothing before, so the window's commands are
// complete now and take effect as the graph grows.

template <class TGraph>
void GraphUnzoom(TGraph& graph) {
  if constexpr (requires { graph.Unzoom(); }) graph.Unzoom();
}

template <class TGraph>
void GraphRezoom(TGraph& graph) {
  if constexpr (requires { graph.Rezoom(); }) graph.Rezoom();
}

template <class TGraph>
void GraphResetCrsrNums(TGraph& graph) {
  if constexpr (requires { graph.resetCrsrNums(); }) graph.resetCrsrNums();
}

template <class TGraph>
void GraphSetAxisBtnTags(TGraph& graph) {
  if constexpr (requires { graph.SetAxisBtnTags(); }) graph.SetAxisBtnTags();
}
