// The INI engine: what it reads, what it keeps, and where it writes.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "settings/ini.h"

namespace qsrn {

using namespace std::string_literals;

TEST(Ini, UnmodifiedDocumentWritesBackByteForByte) {
  for (const char* text : {"", "\n", "a", "[s]\nk=v", "[s]\r\nk = v\r\n; note\r\n", "\xEF\xBB\xBF[s]\nk=v\n",
                           "garbage\n[unclosed\n=novalue\n\n\n[x]  trailing\n#c\n"}) {
    EXPECT_EQ(IniDocument::Parse(text).Text(), text);
  }
  const std::string binary = "\0\xff\n[\0]\n\r\r=\n"s;
  EXPECT_EQ(IniDocument::Parse(binary).Text(), binary);
}

// Values end at a zero byte and may be empty.
TEST(Ini, LookupIgnoresCaseAndBlanksAndSkipsComments) {
  const IniDocument doc = IniDocument::Parse(
      "top=1\n[ Fireworks ]\n  FireSparks  =  700  \n;FirePersist=0.5\n# FireSpeed=3\nnoequals\n"
      "[Galaxy]\nGalaxy_CometCPersist=0.998\n[fireworks]\nfiresparks=9\nFireGravity=0.02\n"
      "[s]\na=12\0junk\nb=\nc=  \n"s);
  EXPECT_EQ(doc.Get("FIREWORKS", "firesparks"), "700");  // first occurrence wins
  EXPECT_EQ(doc.Get("fireworks", "FireGravity"), "0.02");  // a repeated section still counts
  EXPECT_EQ(doc.Get("Galaxy", "Galaxy_CometcPersist"), "0.998");
  EXPECT_FALSE(doc.Get("Fireworks", "FirePersist"));
  EXPECT_FALSE(doc.Get("Fireworks", "# FireSpeed"));
  EXPECT_FALSE(doc.Get("Fireworks", "noequals"));
  EXPECT_FALSE(doc.Get("Galaxy", "FireSparks"));
  EXPECT_FALSE(doc.Get("", "top"));  // keys before any section belong to none
  EXPECT_FALSE(doc.Get("Missing", "x"));
  EXPECT_EQ(doc.Get("s", "a"), "12");
  EXPECT_EQ(doc.Get("s", "b"), "");
  EXPECT_EQ(doc.Get("s", "c"), "");
}

TEST(Ini, SetReplacesInPlaceKeepsEverythingElseAndRefusesWhatALineCannotHold) {
  IniDocument doc = IniDocument::Parse(
      "; header\n[General]\nColorRed = 100\n; keep me\nUnknownKey=5\n\n[Extra]\nx=1\n");
  ASSERT_TRUE(doc.Set("general", "COLORRED", "42"));
  EXPECT_EQ(doc.Text(), "; header\n[General]\nColorRed = 42\n; keep me\nUnknownKey=5\n\n[Extra]\nx=1\n");
  // A new key goes after the section's last key, before the blank line that ends it.
  ASSERT_TRUE(doc.Set("General", "ColorGrn", "7"));
  EXPECT_EQ(doc.Text(),
            "; header\n[General]\nColorRed = 42\n; keep me\nUnknownKey=5\nColorGrn=7\n\n[Extra]\nx=1\n");
  ASSERT_TRUE(doc.Set("New", "k", "v"));
  EXPECT_EQ(doc.Text(),
            "; header\n[General]\nColorRed = 42\n; keep me\nUnknownKey=5\nColorGrn=7\n\n[Extra]\nx=1\n\n[New]\nk=v\n");
  EXPECT_EQ(doc.Get("new", "K"), "v");
  // What one line cannot hold is refused and changes nothing.
  const std::string before = doc.Text();
  for (auto [section, key, value] : {std::tuple{"s"s, "k"s, "two\nlines"s}, {"s", "k", "a\0b"s}, {"s", "k=x", "1"},
                                     {"s", ";k", "1"}, {"s", " k", "1"}, {"s", "", "1"}, {"s]", "k", "1"}, {"", "k", "1"}})
    EXPECT_FALSE(doc.Set(section, key, value)) << section << "/" << key;
  EXPECT_EQ(doc.Text(), before);
  EXPECT_TRUE(doc.Set("SOFTWARE\\Quasarine\\QSRN_SS\\Fireworks", "FireSparks", "a = b ; c"));
  EXPECT_EQ(doc.Get("software\\quasarine\\qsrn_ss\\fireworks", "firesparks"), "a = b ; c");
}

TEST(Ini, SetFollowsTheDocumentsLineEndingsAndMissingFinalNewline) {
  IniDocument crlf = IniDocument::Parse("[a]\r\nk=1\r\n");
  EXPECT_EQ(crlf.Get("a", "k"), "1");  // the carriage return is not part of the value
  crlf.Set("a", "k", "2");
  crlf.Set("a", "j", "3");
  crlf.Set("b", "z", "4");
  EXPECT_EQ(crlf.Text(), "[a]\r\nk=2\r\nj=3\r\n\r\n[b]\r\nz=4\r\n");

  IniDocument bare = IniDocument::Parse("[a]\nk=1");
  bare.Set("a", "j", "3");
  EXPECT_EQ(bare.Text(), "[a]\nk=1\nj=3\n");
  IniDocument empty;
  empty.Set("s", "k", "v");
  EXPECT_EQ(empty.Text(), "[s]\nk=v\n");
}

TEST(Ini, PathologicalTextParsesInOnePass) {
  // A megabyte of brackets, equals signs and line breaks: every lookup still answers.
  std::string text;
  for (int i = 0; i < 100000; ++i) text += i % 3 == 0 ? "[[[=\n" : (i % 3 == 1 ? "====\n" : "\n\n");
  text += "[s]\nk=v\n";
  const IniDocument doc = IniDocument::Parse(text);
  EXPECT_EQ(doc.Get("s", "k"), "v");
  EXPECT_EQ(doc.Text(), text);
}

}  // namespace qsrn
