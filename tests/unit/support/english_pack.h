// The real language pack's tables in English, as start-up builds them; the process-wide pack
// is put back after each test.
#pragma once
#include <gtest/gtest.h>

#include <memory>

#include "lang/language_pack.h"

class EnglishPackTest : public ::testing::Test {
  protected:
    void SetUp() override {
        saved_ = std::make_unique<LanguagePack>(languagePack);
        ASSERT_EQ(LoadLanguagePack(), 1);
        languagePack.currentLanguage = kEnglish;
    }
    void TearDown() override { languagePack = *saved_; }

  private:
    std::unique_ptr<LanguagePack> saved_;
};
