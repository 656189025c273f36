// The INI engine (what it reads, keeps and where it writes) and template files: the profile-string
// rules, the layout, importing a template into the store (also from files that are no template,
// with stray carriage returns, and from two processes at once), and the dialog's texts: what each
// key is stored as, and what a template gives for missing keys.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "child_process.h"
#include "settings/file_system.h"
#include "settings/ini.h"
#include "settings/ini_file.h"
#include "settings/numeric.h"
#include "settings/template_fields.h"
#include "settings/templates.h"
#include "temp_dir.h"

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

namespace {
using test::ReadFile;
using test::WriteFile;

class Import : public ::testing::Test {
 protected:
  std::string Stored(std::string_view section, std::string_view key) {
    return store.RegGetString(0, kAppName, section, key, "<missing>");
  }
  test::TempDir dir;
  SettingsStore store{dir / "cfg"};
  const std::filesystem::path file = dir / "look.qsn";
};
class Template : public Import {};
class TemplateFieldsTest : public Import {};
}  // namespace

// Profile strings: a missing file gives the default; a write creates the file or replaces the
// value in place, keeping everything else, and refuses what one line cannot hold.
TEST_F(Template, PutStringReplacesInPlaceAndKeepsTheRest) {
  EXPECT_EQ(IniGetNumber(file, "General", "PixelSize", 3), 3);
  EXPECT_NE(IniPutString(file, "General", "ColorRed", "50"), 0);  // creates the file
  EXPECT_EQ(ReadFile(file), "[General]\nColorRed=50\n");
  WriteFile(file, "[Mine]\nnote=keep\n[General]\n; comment\nColorRed=50\nExtra=1\n");
  EXPECT_NE(IniPutString(file, "GENERAL", "colorred", "60"), 0);
  EXPECT_NE(IniPutString(file, "Fireworks", "FireWorks", "9"), 0);
  EXPECT_EQ(ReadFile(file), "[Mine]\nnote=keep\n[General]\n; comment\nColorRed=60\nExtra=1\n\n[Fireworks]\nFireWorks=9\n");
  EXPECT_EQ(IniPutString(file, "General", "LockMessage", "a\nb"), 0);
  EXPECT_EQ(IniPutString("", "General", "ColorRed", "1"), 0);
}

TEST_F(Import, CopiesTheLayoutsKeysOnlyWithGarbageAsZero) {
  WriteFile(file,
            "[Admin]\nCopyright=someone\n"
            "[Fireworks]\nFireSparks=abc\nFireWorks = 12 shells\nFirePersist=.90\nEvil=1\n"
            "[General]\nLockMessage=  Hello there  \nColorRed=1e999\n"
            "[Advanced]\nAdv_FontSize=huge\n"
            "[SoundFX]\nFire_Launch=/etc/passwd\nSoundFX_ON=1\n"
            "[Sneaky]\nx=1\n");
  std::string error;
  ASSERT_TRUE(ImportTemplate(store, file, &error)) << error;
  // Adv_FontSize is a text key, copied as text; keys the template lacks get their factory values;
  // keys it adds never reach the store, nor does a number beyond any type, nor a key no template has.
  for (auto [section, key, want] :
       {std::tuple{"Fireworks", "FireSparks", "0"}, {"Fireworks", "FireWorks", "12"}, {"Fireworks", "FirePersist", "0.9"},
        {"General", "LockMessage", "Hello there"}, {"Advanced", "Adv_FontSize", "huge"},
        {"Advanced", "Adv_EffectFPC", "1000"}, {"Advanced", "Adv_FontName", "MS Sans Serif"},
        {"Galaxy", "Galaxy_CometCPersist", "0.998"}, {"General", "AnimationType", "0"}, {"Fireworks", "Evil", "<missing>"},
        {"SoundFX", "Fire_Launch", "<missing>"}, {"SoundFX", "SoundFX_ON", "<missing>"}, {"Sneaky", "x", "<missing>"},
        {"Admin", "Copyright", "<missing>"}, {"General", "ColorRed", "<missing>"}, {"General", "WindowState", "<missing>"}})
    EXPECT_EQ(Stored(section, key), want) << key;
}

// A file that is no template changes nothing, names itself in the reason and leaves the store
// byte-identical; so does one larger than any template, even when it begins like one.
TEST_F(Import, AFileThatIsNoTemplateLeavesTheStoreByteIdentical) {
  ASSERT_TRUE(store.RegSetString(kAppName, "Fireworks", "FireSparks", "77"));
  const std::string before = ReadFile(store.FileFor(0));
  WriteFile(dir / "empty.qsn", "");
  WriteFile(dir / "garbage.qsn", std::string("\0\xff\x01[[[==\n\n=", 11));
  WriteFile(dir / "binary.qsn", std::string("[Fireworks]\nFireSparks=1\n\0\x01\x02", 27));
  WriteFile(dir / "foreign.qsn", "[Desktop Entry]\nName=x\n");
#ifndef _WIN32  // Windows puts no pipe among files
  ASSERT_EQ(::mkfifo((dir / "pipe.qsn").c_str(), 0600), 0);
#endif
  std::filesystem::create_directory(dir / "folder.qsn");
  std::string huge = "[Fireworks]\nFireSparks=321\n";
  while (huge.size() <= kMaxIniFileBytes) huge += "; padding, padding, padding, padding, padding\n";
  WriteFile(dir / "huge.qsn", huge + "[Starfield]\nStar_Stars=5\n");
  for (auto [name, why] : {std::pair{"empty.qsn", "it holds none of"}, {"garbage.qsn", "it is not a text file"},
                           {"typo.qsn", "it does not exist"}, {"empty.qsn/typo.qsn", "it does not exist"},
                           {"binary.qsn", "it is not a text file"}, {"foreign.qsn", "it holds none of"},
                           {"pipe.qsn", "it is not a readable file"}, {"folder.qsn", "it is not a readable file"},
                           {"huge.qsn", "larger than 1 MB"}}) {
#ifdef _WIN32
    if (std::string_view(name) == "pipe.qsn") continue;  // none was made
#endif
    std::string error;
    EXPECT_FALSE(ImportTemplate(store, dir / name, &error)) << name;
    EXPECT_TRUE(error.starts_with("cannot import " + (dir / name).string() + ": ")) << error;
    EXPECT_NE(error.find(why), std::string::npos) << error;
    EXPECT_EQ(ReadFile(store.FileFor(0)), before) << name;
  }
  EXPECT_EQ(IniGetString(dir / "huge.qsn", "Fireworks", "FireSparks", "none"), "none");
  FieldTexts texts;  // the dialog's reader refuses it alike
  KeyTexts advanced;
  EXPECT_EQ(ReadTemplateTexts(dir / "huge.qsn", texts, advanced), TemplateRead::TooLarge);
}

// Accept stores every dialog key with the Advanced keys given, in one commit, and reads back the
// same texts; Reset or an opened template stores the Advanced keys alone.
TEST_F(Import, SavedFieldTextsReadBackWithTheAdvancedKeys) {
  FieldTexts texts = FactoryFieldTexts();
  texts["FireWorks"] = "12";
  ASSERT_TRUE(SaveFieldTexts(store, texts, {{"Adv_TimeDelay", "40"}}));
  EXPECT_EQ(StoredFieldTexts(store), texts);
  EXPECT_EQ(Stored("Advanced", "Adv_TimeDelay"), "40");
  ASSERT_TRUE(SaveAdvancedTexts(store, {{"Adv_FontSize", "30"}}));
  EXPECT_EQ(Stored("Advanced", "Adv_FontSize"), "30");
}

TEST_F(Import, OneKeyCopiesBetweenStoreAndTemplate) {
  const auto other = dir / "other.qsn";
  ASSERT_TRUE(store.RegSetString(kAppName, "Advanced", "Adv_TimeDelay", "40"));
  EXPECT_TRUE(CopyStoreValueToTemplate(store, file, "Advanced", "Adv_TimeDelay", "25"));
  EXPECT_TRUE(CopyStoreValueToTemplate(store, file, "Advanced", "Adv_FontSize", "20"));
  EXPECT_EQ(IniGetString(file, "Advanced", "Adv_TimeDelay", ""), "40");
  EXPECT_EQ(IniGetString(file, "Advanced", "Adv_FontSize", ""), "20");
  WriteFile(other, "[Advanced]\nAdv_TimeDelay=7\n");
  EXPECT_TRUE(CopyTemplateValueToStore(store, file, "Advanced", "Adv_TimeDelay", "25", other));
  EXPECT_EQ(Stored("Advanced", "Adv_TimeDelay"), "7");
  EXPECT_TRUE(CopyTemplateValueToStore(store, file, "Advanced", "Adv_TimeDelay", "25"));
  EXPECT_EQ(Stored("Advanced", "Adv_TimeDelay"), "40");
  EXPECT_TRUE(CopyTemplateValueToStore(store, file, "Advanced", "Adv_HueStart", "0"));
  EXPECT_EQ(Stored("Advanced", "Adv_HueStart"), "0");
}

TEST_F(Import, LineEndCharactersNeverReachAValue) {
  WriteFile(dir / "cr.qsn", "[General]\r\r\nLockMessage=Hello\rthere\r\r\nColorRed=50\r\r\n[Fireworks]\nFireSparks=321\r\r\n");
  std::string error;
  ASSERT_TRUE(ImportTemplate(store, dir / "cr.qsn", &error)) << error;
  EXPECT_EQ(Stored("General", "LockMessage"), "Hellothere");
  EXPECT_EQ(Stored("General", "ColorRed"), "50");
  EXPECT_EQ(Stored("Fireworks", "FireSparks"), "321");
  // A readable template lacking keys still gives them their factory values.
  EXPECT_EQ(Stored("Starfield", "Star_Stars"), "120");
}

// Copies the store's keys first, first + 2, ... below 160 into look.qsn (args: the folder, first).
QSRN_CHILD(CopiesEveryOtherKey) {
  const std::filesystem::path dir = files::PathFromUtf8(args[0]);
  const SettingsStore store{dir / "cfg"};
  bool ok = true;
  for (int k = std::stoi(args[1]); k < 160; k += 2)
    ok = CopyStoreValueToTemplate(store, dir / "look.qsn", "Advanced", std::to_string(k), "x") && ok;
  return ok;
}

TEST_F(Import, ConcurrentOneKeyCopiesIntoATemplateLoseNothing) {
  SettingsStore::Batch batch(store);
  for (int k = 100; k < 160; ++k) batch.Set("Advanced", std::to_string(k), std::to_string(k));
  ASSERT_TRUE(batch.Commit());
  // Two programs of one user: one store, one lock.
  const std::string folder = files::Utf8Of(dir.path());
  test::Child even("CopiesEveryOtherKey", {folder, "100"}), odd("CopiesEveryOtherKey", {folder, "101"});
  EXPECT_TRUE(even.Succeeded());
  EXPECT_TRUE(odd.Succeeded());
  for (int k = 100; k < 160; ++k) EXPECT_EQ(IniGetString(file, "Advanced", std::to_string(k), "lost"), std::to_string(k));
}

// What the dialog stores for the text a key shows.
TEST_F(TemplateFieldsTest, StoredTextAsTheKeyIsShown) {
  for (auto [key, shown, stored] : {std::tuple{"FireSpeed", "020.50", "20.5"}, {"FireSpeed", "", "0"},
                                    {"FireBurstShell", "2", "1"}, {"Warp_Type", "3.0", "3"},
                                    {"LockMessage", "  hi there ", "hi there"}, {"FocalLength", " 1.0 ", "1.0"},
                                    {"Galaxy_AmbRadius", "1e999", "2500"}})
    EXPECT_EQ(StoredText(*FindDialogKey(key)->key, shown), stored) << key << " '" << shown << "'";
}

// A saved template holds the layout in order with the texts as the dialog stores them (the factory
// template is pinned by a hash of its bytes: it prints on a mismatch), keeps what else the file
// held, reads back the same and is readable by others; a file already there keeps its mode.
TEST_F(TemplateFieldsTest, WrittenTemplateReadsBackAndIsReadableByOthers) {
  const auto fresh = dir / "fresh.qsn";
  ASSERT_TRUE(WriteTemplateTexts(fresh, FactoryFieldTexts(), store));
  const std::string factory = ReadFile(fresh);
  EXPECT_EQ(test::Fingerprint(factory), 1534340432685221274ull) << factory;
  FieldTexts texts = FactoryFieldTexts();
  texts["FireSpeed"] = "020.50";
  ASSERT_TRUE(store.RegSetString(kAppName, "Advanced", "Adv_TimeDelay", "40"));
  WriteFile(file, "; mine\n[Mine]\nnote=keep\n");
  namespace fs = std::filesystem;
  constexpr auto kMine = fs::perms::owner_read | fs::perms::owner_write;
  fs::permissions(file, kMine);
  ASSERT_TRUE(WriteTemplateTexts(file, texts, store));
  EXPECT_NE(IniPutString(dir / "put.qsn", "General", "ColorRed", "1"), 0);
#ifndef _WIN32  // Windows files have no modes to keep
  constexpr auto kShared = kMine | fs::perms::group_read | fs::perms::others_read;
  for (auto [name, mode] : {std::pair{file, kMine}, {fresh, kShared}, {dir / "put.qsn", kShared}})
    EXPECT_EQ(fs::status(name).permissions(), mode) << name;
#endif
  const std::string text = ReadFile(file);
  EXPECT_TRUE(text.starts_with("; mine\n[Mine]\nnote=keep\n\n[Admin]\nCopyright=Quasarine 2.3 template.")) << text;
  EXPECT_NE(text.find("\nFireSpeed=20.5\n"), std::string::npos);
  FieldTexts back;
  KeyTexts advanced;
  ASSERT_EQ(ReadTemplateTexts(file, back, advanced), TemplateRead::Ok);
  texts["FireSpeed"] = "20.5";
  EXPECT_EQ(back, texts);
  EXPECT_EQ(advanced[0].second, "40");
}

TEST_F(TemplateFieldsTest, ATemplateLackingKeysGivesTheirTemplateDefaults) {
  WriteFile(file, "[Galaxy]\nGalaxy_Stars=77\n[Fireworks]\nFireMultiMoment=abc\n[General]\nLockMessage=" +
                      std::string(300, 'x') + "\n[Advanced]\nAdv_TimeDelay=40\n");
  FieldTexts texts;
  KeyTexts advanced;
  ASSERT_EQ(ReadTemplateTexts(file, texts, advanced), TemplateRead::Ok);
  EXPECT_EQ(texts.at("Galaxy_Stars"), "77");
  EXPECT_EQ(texts.at("Galaxy_CometSWind"), "100");
  EXPECT_EQ(texts.at("FireMultiMoment"), "0");
  EXPECT_EQ(texts.at("FireWorks"), "20");
  EXPECT_EQ(texts.at("LockMessage").size(), 254u);
  ASSERT_EQ(advanced.size(), 9u);
  EXPECT_EQ(advanced[0], (std::pair<std::string, std::string>{"Adv_TimeDelay", "40"}));
  EXPECT_EQ(advanced[1].second, "1000");
  EXPECT_EQ(ReadTemplateTexts(dir.path(), texts, advanced), TemplateRead::NotAFile);
}

}  // namespace qsrn
