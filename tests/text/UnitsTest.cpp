#include "Units.h"

#include <gtest/gtest.h>

#include "Language.h"
#include "TestSupport.h"

namespace {

TEST(Units, CatalogueAsWritten) {
  const TUnitTable all = BuildAllUnits();
  ASSERT_EQ(all.size(), 32u);
  const struct {
    int fid;
    int kind;
    const char* name;
    double multiplier;
    double offset;
  } cases[] = {
      {0, 0, "NONE", 1.0, 0},
      {2, 2, "Speed in MPH", 0.68181818, 0},
      {4, 4, "Length in mi", 5280.0, 0},
      {7, 7, "Gear Ratio in RPM/MPH", 1.4666667, 0},
      {11, 11, "Temp in F", 1.8, 32.0},
      {12, 12, "Pressure in In.Hg.", 1.0, 0},
      {13, 1, "Time in hours", 1.0 / 3600.0, 0},
      {15, 2, "Speed in km/hr", 1.09728, 0},
      {22, 5, "Revolutions per Second", 60.0, 0},
      {23, 7, "Gear Ratio in RPM/kph", 0.91134, 0},
      {28, 11, "Temp in K", 1.0, 273.15},
      {29, 12, "Pressure in mbars", 33.8638833, 0},
      {30, 9, "Pferdestarke (PS)", 1.01387005, 0},
      {31, 10, "Torque in Kg-M", 0.138255, 0},
  };
  for (const auto& c : cases) {
    const TUnit& u = all[c.fid];
    EXPECT_EQ(u.FID, c.fid);
    EXPECT_EQ(u.FKind, c.kind) << c.fid;
    EXPECT_EQ(u.FName, c.name);
    EXPECT_EQ(u.FMultiplier, c.multiplier) << c.fid;  // exactly the literal constant
    EXPECT_EQ(u.FOffset, c.offset) << c.fid;
    EXPECT_TRUE(u.FSymbol.empty());
  }
  for (const TUnit& u : all)
    EXPECT_LE(u.FName.size(), 31u);
}

TEST(Units, Conversions) {
  const TUnitTable all = BuildAllUnits();
  const struct {
    int fid;
    double base;
    double shown;
  } cases[] = {
      {11, 100.0, 212.0},     // °C -> °F
      {28, 100.0, 373.15},    // °C -> °K
      {27, 100.0, 100.0},     // °C
      {29, 29.92, 1013.207},  // inHg -> mBars (29.92 x 33.8638833)
      {5, 6.5, 6.5},          // engine speed: 6500 rpm in each unit
      {19, 6.5, 65.0},       {20, 6.5, 650.0},  {21, 6.5, 6500.0},
      {22, 6.5, 390.0},      {13, 3600.0, 1.0},  // an hour of seconds is one hour
      {15, 100.0, 109.728},                      // ft/s -> km/h
  };
  for (const auto& c : cases) {
    EXPECT_REL_NEAR(all[c.fid].Convert(c.base), c.shown, 1e-6) << c.fid;
    EXPECT_REL_NEAR(all[c.fid].ConvertFloat(static_cast<float>(c.base)), c.shown, 1e-6) << c.fid;
  }
}

TEST(Units, PredefinedSets) {
  const struct {
    TUnitSet set;
    int ids[13];
  } cases[] = {
      {TUnitSet::SAE, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
      {TUnitSet::Metric, {0, 1, 15, 17, 18, 5, 6, 23, 24, 25, 26, 27, 29}},
      {TUnitSet::Japanese, {0, 1, 15, 17, 18, 5, 6, 23, 24, 30, 31, 27, 29}},
  };
  for (const auto& c : cases) {
    TUnitTable table = BuildUnitSet(c.set);
    ASSERT_EQ(table.size(), 13u);
    for (int kind = 0; kind < 13; ++kind) {
      EXPECT_EQ(table[kind].FID, c.ids[kind]);
      EXPECT_EQ(table[kind].FKind, kind);
    }
    EXPECT_TRUE(IsValidUnitSelection(table));
    TUnitSet matched;
    ASSERT_TRUE(MatchUnitSet(table, matched));
    EXPECT_EQ(matched, c.set);
    // Changing one visible kind leaves no set matched.
    table[9] = CatalogueUnit(c.set == TUnitSet::Metric ? 9 : 25);
    EXPECT_FALSE(MatchUnitSet(table, matched));
  }
  const TUnitTable defaults = BuildDefaultUnits();
  ASSERT_EQ(defaults.size(), 13u);
  for (int i = 0; i < 13; ++i)
    EXPECT_EQ(defaults[i].FID, i);

  // A Metric selection with the force unit left at "lbs" is no predefined set.
  TUnitTable almostMetric = BuildUnitSet(TUnitSet::Metric);
  almostMetric[ukForce] = CatalogueUnit(8);
  TUnitSet matched;
  EXPECT_FALSE(MatchUnitSet(almostMetric, matched));
  EXPECT_FALSE(MatchUnitSet(TUnitTable(almostMetric.begin(), almostMetric.begin() + 12), matched));
}

TEST(Units, SelectionValidity) {
  EXPECT_FALSE(IsValidUnitSelection({}));
  TUnitTable table = BuildDefaultUnits();
  table.push_back(CatalogueUnit(0));  // 14 units
  EXPECT_FALSE(IsValidUnitSelection(table));
  table = BuildDefaultUnits();
  table.resize(5);  // fewer kinds are allowed: the others stay in base units
  EXPECT_TRUE(IsValidUnitSelection(table));
  table[2] = CatalogueUnit(17);  // a length unit in the speed slot
  EXPECT_FALSE(IsValidUnitSelection(table));
  EXPECT_EQ(CatalogueUnit(32).FKind, 0);
  EXPECT_EQ(CatalogueUnit(-1).FMultiplier, 1.0);
}

TEST(Units, TextsFollowTheLanguage) {
  TUnitTable table = BuildUnitSet(TUnitSet::Metric);
  BuildUnitTexts(table);
  EXPECT_EQ(table[ukPower].FQuantityName, "Power");
  EXPECT_EQ(table[ukPower].FSymbol, "kW");
  EXPECT_EQ(table[ukTemperature].FSymbol, "°C");
  SetLanguage(1040);
  BuildUnitTexts(table);
  EXPECT_EQ(table[ukPower].FQuantityName, "Potenza");
  SetLanguage(1033);
}

// The options dialog finds a kind's selected unit by its symbol, so within a kind no two units
// may share one, in any language.
TEST(Units, SymbolsDistinctWithinEachKind) {
  const TUnitTable all = BuildAllUnits();
  for (const int langid : {1033, 1040, 1031, 1043, 1036, 1034}) {
    SetLanguage(langid);
    for (const TUnit& a : all) {
      for (const TUnit& b : all) {
        if (a.FID < b.FID && a.FKind == b.FKind) {
          EXPECT_NE(UnitString(a.FID, 1), UnitString(b.FID, 1))
              << langid << ": " << a.FID << ", " << b.FID;
        }
      }
    }
  }
  SetLanguage(1033);
}

}  // namespace
