// The run conditions string of the conditions labels.

#include <gtest/gtest.h>

#include "RenderFixture.h"
#include "RunFile.h"

namespace {

using tw_test::MakeCurveRun;
using tw_test::Ramp;
using tw_test::RenderTest;

TEST_F(RenderTest, ConditionsStringNamesTheWeatherAndTheFactorInForce) {
  UseChannelTable();
  FGraph->SetOnLoadStrings([](QStringList& strings, int count) {
    strings.append(QStringLiteral("SAE"));
    for (int i = 1; i < count; ++i)
      strings.append(i == 20 ? QStringLiteral("Humidity") : QStringLiteral("x"));
  });
  FGraph->LoadStrings();
  const TGphData& data = FGraph->GetData();
  const std::string temperature = data.Unit(ukTemperature)->FSymbol;
  const std::string pressure = data.Unit(ukPressure)->FSymbol;

  const struct {
    const char* signature;
    double humidity;
    std::string humidityPart;
  } cases[] = {
      {kSignatureMH703, 40, " Humidity: 40%,"},
      {kSignatureMH100, 39.6, " Humidity: 40%,"},  // rounded, not truncated
      {kSignatureMH100, 39.4, " Humidity: 39%,"},
      {kSignatureM301, 40, ""},  // the M301 format records no humidity
  };
  for (const auto& c : cases) {
    auto run = MakeCurveRun("R1.DRF", Ramp(10), {{0, Ramp(10)}});
    run->FSignature = c.signature;
    run->FTempDisplay = 21.5;
    run->FBaroDisplay = 29.92;
    run->FHumidityDisplay = c.humidity;
    run->FCF = 1.02;
    const int index = AddRun(std::move(run));
    EXPECT_EQ(FGraph->GetConditionsString(index).toStdString(), "R1.DRF: 21.50 " + temperature +
                                                                    ", 29.92 " + pressure + "," +
                                                                    c.humidityPart + " SAE: 1.02")
        << c.signature << " " << c.humidity;
  }
  // Outside the runs there is nothing to say.
  EXPECT_EQ(FGraph->GetConditionsString(static_cast<int>(data.NumRuns())), "");
  EXPECT_EQ(FGraph->GetConditionsString(-1), "");
}

}  // namespace
