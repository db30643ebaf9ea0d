#include <gtest/gtest.h>

#include <string>

#include "core/HostKind.h"

TEST(HostKindLookUp, KnownHostsAreRecognisedWithoutRegardToCase) {
  EXPECT_EQ(LookUpHostKind("REAPER"), 1);
  EXPECT_EQ(LookUpHostKind("Cubase 10.5"), 3);
  EXPECT_EQ(LookUpHostKind("Nuendo 11"), 4);
  EXPECT_EQ(LookUpHostKind("Live 11 Suite"), 9);
  EXPECT_EQ(LookUpHostKind("Audition CC"), 17);
  EXPECT_EQ(LookUpHostKind("Orion"), 18);
  EXPECT_EQ(LookUpHostKind("VST3PluginTestHost"), 27);
  EXPECT_EQ(LookUpHostKind("OpenMPT"), 30);
  EXPECT_EQ(LookUpHostKind("Renoise"), 29);
  EXPECT_EQ(LookUpHostKind("Standalone"), 24);
}

TEST(HostKindLookUp, TheFirstKeywordInTableOrderWins) {
  EXPECT_EQ(LookUpHostKind("cubase nuendo"), 3);
  EXPECT_EQ(LookUpHostKind("nuendo cubase"), 3);
  EXPECT_EQ(LookUpHostKind("deliverer"), 9) << "plain substring search";
  EXPECT_EQ(LookUpHostKind("Digital Logic"), 21);
  EXPECT_EQ(LookUpHostKind("protools by presonus"), 26);
  EXPECT_EQ(LookUpHostKind("Reaper Live"), 1);
}

TEST(HostKindLookUp, UnknownNamesGiveZero) {
  EXPECT_EQ(LookUpHostKind(""), 0);
  EXPECT_EQ(LookUpHostKind(nullptr), 0);
  EXPECT_EQ(LookUpHostKind("Some Other Host"), 0);
  EXPECT_EQ(LookUpHostKind("C\xC3\x9A"
                           "BASE"),
            0)
      << "only ASCII letters are lowered";
}

TEST(HostKindLookUp, NamesAreCutAt255Characters) {
  EXPECT_EQ(LookUpHostKind((std::string(249, 'x') + "reaper").c_str()), 1);
  EXPECT_EQ(LookUpHostKind((std::string(250, 'x') + "reaper").c_str()), 0);
}
