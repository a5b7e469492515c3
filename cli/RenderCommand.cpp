// tracewell-cli render: the picture the viewer's graph shows for run files, as PNG, SVG or PDF.
// The viewer's own graph control draws it, set up as the main window sets it up, on Qt's
// offscreen platform: no display is needed and no window appears.

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QSaveFile>

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <memory>

#include "ChannelChoice.h"
#include "Commands.h"
#include "Language.h"
#include "RunListView.h"
#include "RunSettings.h"
#include "StringIds.h"
#include "WPGraph.h"

namespace {

constexpr std::string_view kPrefix = "tracewell-cli render: ";

constexpr std::string_view kYOptions[] = {"--y1", "--y2", "--y3", "--y4", "--y5", "--y6"};

constexpr TOptionSpec kSpecs[] = {
    {"--help", false},  {"--out", true},    {"--size", true}, {"--graphs", true},    {"--x", true},
    {"--y1", true},     {"--y2", true},     {"--y3", true},   {"--y4", true},        {"--y5", true},
    {"--y6", true},     {"--labels", true}, {"--cf", true},   {"--smoothing", true}, kUnitsOption,
    kClutchPowerOption, kRegistryOption,
};

constexpr std::string_view kCFNames[] = {"none", "sae", "din", "eec", "std", "jis"};
// Label types of the viewer's "Display" choices, in their order.
constexpr std::string_view kLabelNames[] = {"none", "max", "conditions", "titles"};

// The picture is one image in memory; the bitmap layer refuses more than this.
constexpr int kMaxSide = 16384;

enum class TFormat { Png, Svg, Pdf };

struct TRenderRequest {
  TRunSettings FSettings;
  int FWidth = 1600;
  int FHeight = 900;
  int FGraphs = 1;
  int FLabelType = 2;  // conditions
  std::string FOut;
  TFormat FFormat = TFormat::Png;
};

void PrintHelp(std::ostream& out) {
  out << "Usage: tracewell-cli render --out PATH [OPTIONS] FILE...\n"
         "\n"
         "Draws the runs as the viewer's graph shows them (with the viewer's designed graph\n"
         "settings) and writes the picture. Up to 12 runs, each in its run colours.\n"
         "\n"
         "Options:\n"
         "  --out PATH        the picture to write; its extension chooses the format:\n"
         "                    .png (the screen image), .svg or .pdf (vector, as printed)\n"
         "  --size WxH        picture size in pixels (default 1600x900)\n"
         "  --graphs 1-3      number of stacked graphs (default 1)\n"
         "  --x "
      << ChoiceNames(XChoices(), "|")
      << "\n"
         "                    X axis (default speed)\n"
         "  --y1 .. --y6 CHANNEL\n"
         "                    channel of the left (odd) and right (even) Y axis of graph 1, 2\n"
         "                    and 3, from "
      << ChoiceNames(YChoices(), ", ")
      << ",\n"
         "                    or none; NAME:N takes the channel of drum N (default: --y1 power)\n"
         "  --labels none|max|conditions|titles\n"
         "                    label boxes over the plots (default conditions)\n"
         "  --cf none|sae|din|eec|std|jis\n"
         "                    weather correction of power and torque (default sae)\n"
         "  --smoothing 0-5   smoothing level (default 5)\n"
      << kRunSettingsHelp << "  -h, --help        this help\n";
}

bool ParseInteger(std::string_view text, int low, int high, int& value) {
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  return !text.empty() && result.ec == std::errc() && result.ptr == text.data() + text.size() &&
         value >= low && value <= high;
}

std::string Lower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  return text;
}

// The index of `text` (any case) among `names`, or -1.
template <size_t N>
int IndexOf(const std::string_view (&names)[N], const std::string& text) {
  const auto found = std::find(std::begin(names), std::end(names), Lower(text));
  return found == std::end(names) ? -1 : static_cast<int>(found - std::begin(names));
}

bool ParseSize(const std::string& text, int& width, int& height) {
  const size_t x = Lower(text).find('x');
  if (x == std::string::npos) return false;
  const std::string_view all(text);
  return ParseInteger(all.substr(0, x), 1, kMaxSide, width) &&
         ParseInteger(all.substr(x + 1), 1, kMaxSide, height) &&
         static_cast<long long>(width) * height <= kMaxBitmapPixels;
}

bool ParseRequest(const TParsedArgs& args, TRenderRequest& request, std::string& error) {
  TRunSettings& settings = request.FSettings;
  if (!ApplyRunSettings(args, settings, error)) return false;
  settings.FXChannel = ctSpeed;
  settings.FYChannel.fill(0);
  settings.FYChannel[0] = ctPower;

  const std::string* out = args.Value("--out");
  if (!out || out->empty()) {
    error = "--out PATH is required (a .png, .svg or .pdf file)";
    return false;
  }
  request.FOut = *out;
  const std::string extension = Lower(out->substr(std::min(out->rfind('.'), out->size())));
  if (extension == ".png") {
    request.FFormat = TFormat::Png;
  } else if (extension == ".svg") {
    request.FFormat = TFormat::Svg;
  } else if (extension == ".pdf") {
    request.FFormat = TFormat::Pdf;
  } else {
    error = "cannot tell the format of '" + *out + "': name it .png, .svg or .pdf";
    return false;
  }
  if (const std::string* size = args.Value("--size")) {
    if (!ParseSize(*size, request.FWidth, request.FHeight)) {
      error = "bad --size '" + *size + "' (WxH, each 1 to " + std::to_string(kMaxSide) +
              ", at most " + std::to_string(kMaxBitmapPixels) + " pixels)";
      return false;
    }
  }
  if (const std::string* graphs = args.Value("--graphs")) {
    if (!ParseInteger(*graphs, 1, kMaxGraphs, request.FGraphs)) {
      error = "bad --graphs '" + *graphs + "' (1, 2 or 3)";
      return false;
    }
  }
  if (const std::string* x = args.Value("--x")) {
    uint32_t id = 0;
    if (x->find(':') != std::string::npos || !ParseChannelChoice(*x, XChoices(), id, error)) {
      error = "bad --x '" + *x + "' (choose from " + ChoiceNames(XChoices(), ", ") + ")";
      return false;
    }
    settings.FXChannel = static_cast<int32_t>(id);
  }
  for (size_t slot = 0; slot < std::size(kYOptions); ++slot) {
    const std::string* y = args.Value(kYOptions[slot]);
    if (!y) continue;
    if (Lower(*y) == "none") {
      settings.FYChannel[slot] = 0;
      continue;
    }
    uint32_t id = 0;
    if (!ParseChannelChoice(*y, YChoices(), id, error)) {
      error = std::string(kYOptions[slot]) + ": " + error;
      return false;
    }
    settings.FYChannel[slot] = static_cast<int32_t>(id);
  }
  if (const std::string* labels = args.Value("--labels")) {
    request.FLabelType = IndexOf(kLabelNames, *labels);
    if (request.FLabelType < 0) {
      error = "bad --labels '" + *labels + "' (none, max, conditions or titles)";
      return false;
    }
  }
  if (const std::string* cf = args.Value("--cf")) {
    settings.FCFIndex = IndexOf(kCFNames, *cf);
    if (settings.FCFIndex < 0) {
      error = "bad --cf '" + *cf + "' (choose from none, sae, din, eec, std, jis)";
      return false;
    }
  }
  if (const std::string* level = args.Value("--smoothing")) {
    if (!ParseInteger(*level, 0, 5, settings.FSmoothing)) {
      error = "bad --smoothing '" + *level + "' (a level from 0 to 5)";
      return false;
    }
  }
  return true;
}

// The graph as the main window's design sets it up.
void ApplyDesignedSettings(TWPGraph& graph) {
  graph.SetForceScl(true);
  graph.SetNegative(true);
  graph.SetShowBanner(false);
  graph.SetShowGraphBmp(false);
  TFont font;
  font.FName = QStringLiteral("Verdana");
  font.FStyle = fsBold;
  font.FColor = clBlack;
  font.FHeight = 15;  // a positive height is the character cell
  graph.SetAxisLabelFont(font);
  font.FHeight = 13;
  graph.SetMainTitleFont(font);
  graph.SetSubTitleFont(font);
  graph.SetCursorFont(font);
  graph.SetMultiLabelFont(font);
  graph.SetBottomTitleFont(font);
  graph.SetAxisBtnFont(font);
  graph.SetColorBorder(clWhite);
  graph.SetMainTitle(QString::fromStdString(LangStr(kStrMainTitle)));
  graph.SetBuffer(10);
  graph.SetZoomMode(zmNone);
  graph.SetVerticalDrag(false);
  graph.SetMinZoomMult(2);
  graph.SetAxisButton(1);
  graph.SetRadius(10);
}

// The window's strings for the graph: the correction factor in force, the main title, then
// the graph's own texts by position.
void FillGraphStrings(const TGphData& data, QStringList& strings, int count) {
  strings.clear();
  if (data.FCFIndex >= 0 && static_cast<size_t>(data.FCFIndex) < data.FCFs.size())
    strings.append(
        QString::fromStdString(CFString(data.FCFs[static_cast<size_t>(data.FCFIndex)].FIndex, 1)));
  strings.append(QString::fromStdString(LangStr(kStrMainTitle)));
  for (int i = 1; i < count; ++i)
    strings.append(QString::fromStdString(LangStr(GraphStringId(i + 1))));
}

// The window's answer to the graph's data requests; returns the calculation code.
uint16_t RequestData(TWPGraph& graph) {
  TGphData& data = graph.GetData();
  const uint16_t code = data.CalculateData();
  data.BuildChannelTable();
  data.BuildChannelNames();
  data.BuildUnitNames();
  graph.LoadStrings();
  for (uint32_t run = 0; run < data.NumRuns(); ++run)
    data.CalcRunRanges(run, graph.ShowNegative());
  return code;
}

// Qt's own chatter (a missing runtime folder, font substitutions) is no message for the user.
void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg) {
    const QByteArray text = message.toLocal8Bit();
    std::fprintf(stderr, "%s%s\n", kPrefix.data(), text.constData());
  }
}

bool WritePng(const QImage& image, const QString& path) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  if (!image.save(&file, "PNG")) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}

int RunRender(std::span<const std::string> argv, TCliIO& io) {
  TParsedArgs args;
  if (const auto done = StartCommand("render", argv, kSpecs, PrintHelp, io, args)) return *done;
  std::string error;
  TRenderRequest request;
  if (!ParseRequest(args, request, error)) {
    io.FErr << kPrefix << error << '\n';
    return kExitUsage;
  }
  if (args.FFiles.empty()) return NoRunFileGiven("render", io);
  if (args.FFiles.size() > kMaxRuns) {
    io.FErr << kPrefix << args.FFiles.size() << " run files given; the graph shows at most "
            << kMaxRuns << '\n';
    return kExitUsage;
  }

  // A picture needs no display: the offscreen platform unless the caller chose one.
  std::unique_ptr<QApplication> app;
  if (!QCoreApplication::instance()) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    qInstallMessageHandler(QuietQtMessages);
    static int argc = 1;
    static char name[] = "tracewell-cli";
    static char* args0[] = {name, nullptr};
    app = std::make_unique<QApplication>(argc, args0);
  }

  TRunListView list;  // the run list gives the label rows their colour icons
  TWPGraph graph;
  graph.setAttribute(Qt::WA_DontShowOnScreen);
  graph.resize(request.FWidth, request.FHeight);
  ApplyDesignedSettings(graph);
  TGphData& data = graph.GetData();
  ConfigureDataSet(data, request.FSettings);
  graph.SetListView(&list);
  graph.SetOnLoadStrings(
      [&data](QStringList& strings, int count) { FillGraphStrings(data, strings, count); });
  uint16_t calc = 0;
  graph.OnRequestData = [&](QObject*) { calc |= RequestData(graph); };
  graph.Loaded();
  graph.ResetColors();
  graph.SetNumGraphs(request.FGraphs);
  graph.SetLabelType(request.FLabelType);
  calc |= RequestData(graph);

  bool failed = false;
  for (const std::string& path : args.FFiles) {
    const uint16_t code = LoadRun(data, path);
    if (IsLoadError(code)) {
      io.FErr << kPrefix << path << ": " << JoinWords(LoadErrorWords(code)) << " (load code "
              << code << ")\n";
      failed = true;
      continue;
    }
    for (const std::string& warning : LoadWarningWords(code))
      io.FErr << kPrefix << "warning: " << path << ": " << warning << '\n';
    if (data.OnAddRun) data.OnAddRun(data);
    data.CalcRunRanges(data.NumRuns() - 1, graph.ShowNegative());
    calc |= RequestData(graph);
  }
  if (failed) return kExitFailed;
  if (calc != 0)
    io.FErr << kPrefix << "warning: " << JoinWords(CalcWords(calc)) << " (calculation code " << calc
            << ")\n";

  graph.ResetScale();
  graph.show();
  graph.ReInit();

  const QString out = QFile::decodeName(QByteArray::fromStdString(request.FOut));
  bool written = false;
  if (request.FFormat == TFormat::Png) {
    // The widget with its axis buttons and label boxes, as the window shows it.
    QImage image(request.FWidth, request.FHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    graph.render(&image);
    written = WritePng(image, out);
  } else {
    const std::unique_ptr<TMetafile> picture = graph.Metafile();
    const QString title = graph.MainTitle();
    written = request.FFormat == TFormat::Svg ? picture->SaveToSvg(out, title)
                                              : picture->SaveToPdf(out, title);
  }
  if (!written) {
    io.FErr << kPrefix << "cannot write " << request.FOut << '\n';
    return kExitFailed;
  }
  return kExitOk;
}

}  // namespace

const TCliCommand kRenderCommand{"render", "draw the runs' graph as PNG, SVG or PDF", RunRender};
