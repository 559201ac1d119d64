// The behaviour of FileSystem that the uninstaller relies on, checked the same
// way against every implementation.
#include <gmock/gmock.h>

#include <algorithm>

#include "files/PathText.h"

#include "ContractWorld.h"

namespace scrubber::contract {

using ::testing::Contains;
using ::testing::IsSupersetOf;
using ::testing::UnorderedElementsAre;

std::string ContractName(const ::testing::TestParamInfo<WorldMaker>& info) { return info.param.name; }

std::vector<std::string> Contract::Names(const std::string& pattern) {
  std::vector<std::string> names;
  auto scan = fs().FindFirst(pattern);
  DirEntry entry;
  while (scan && scan->Next(entry)) names.push_back(entry.name);
  return names;
}

namespace {

std::optional<DirEntry> Lookup(FileSystem& fs, const std::string& path) {
  auto scan = fs.FindFirst(path);
  DirEntry entry;
  if (!scan || !scan->Next(entry)) return std::nullopt;
  return entry;
}

}  // namespace

TEST_P(Contract, FilesAndDirectoriesAreMadeReadAndRemoved) {
  Write("Data.txt", "hello");
  EXPECT_EQ(fs().ReadWholeFile(In("Data.txt")), "hello");
  EXPECT_EQ(fs().ReadWholeFile(In("DATA.TXT")), "hello") << "letter case is ignored";
  auto attributes = fs().GetAttributes(In("data.txt"));
  ASSERT_TRUE(attributes);
  EXPECT_FALSE(*attributes & kAttrDirectory);
  EXPECT_FALSE(fs().GetAttributes(In("missing.txt")));
  EXPECT_FALSE(fs().ReadWholeFile(In("missing.txt")));

  ASSERT_TRUE(fs().MakeDir(In("Sub")));
  EXPECT_EQ(fs().MakeDir(In("SUB")).error, SysError::AlreadyExists);
  ASSERT_TRUE(fs().GetAttributes(In("Sub")));
  EXPECT_TRUE(*fs().GetAttributes(In("Sub")) & kAttrDirectory);
  Write("Sub\\inner.txt");
  EXPECT_EQ(fs().RemoveDir(In("Sub")).error, SysError::DirNotEmpty);
  EXPECT_EQ(fs().EraseFile(In("Sub")).error, SysError::AccessDenied) << "a directory is not deleted as a file";
  EXPECT_TRUE(fs().EraseFile(In("Sub\\inner.txt")));
  EXPECT_TRUE(fs().RemoveDir(In("Sub")));
  EXPECT_FALSE(fs().GetAttributes(In("Sub")));

  EXPECT_EQ(fs().EraseFile(In("missing.txt")).error, SysError::NotFound);
  EXPECT_EQ(fs().EraseFile(In("nodir\\missing.txt")).error, SysError::PathNotFound);
  EXPECT_FALSE(fs().RemoveDir(In("missing")));
  EXPECT_EQ(fs().MakeDir(In("nodir\\sub")).error, SysError::PathNotFound);
}

TEST_P(Contract, ReadOnlyFilesResistDeletionUntilTheAttributeIsCleared) {
  Write("ro.txt");
  ASSERT_TRUE(fs().SetAttributes(In("ro.txt"), kAttrReadOnly));
  EXPECT_TRUE(*fs().GetAttributes(In("ro.txt")) & kAttrReadOnly);
  EXPECT_EQ(fs().EraseFile(In("ro.txt")).error, SysError::AccessDenied);
  ASSERT_TRUE(fs().SetAttributes(In("ro.txt"), kAttrNormal));
  EXPECT_FALSE(*fs().GetAttributes(In("ro.txt")) & kAttrReadOnly);
  EXPECT_TRUE(fs().EraseFile(In("ro.txt")));
  EXPECT_FALSE(fs().SetAttributes(In("ro.txt"), kAttrNormal));
}

TEST_P(Contract, SpellingsOfOnePathReachTheSameFile) {
  ASSERT_TRUE(fs().MakeDir(In("Sub")));
  Write("Sub\\f.txt", "same");
  EXPECT_EQ(fs().ReadWholeFile(dir_ + "/Sub/f.txt"), "same");
  EXPECT_EQ(fs().ReadWholeFile(dir_ + "\\Sub\\.\\..\\Sub\\f.txt"), "same");
  EXPECT_TRUE(fs().GetAttributes(dir_ + "\\Sub\\"));
  EXPECT_TRUE(fs().GetAttributes(dir_ + "\\Sub\\."));
}

TEST_P(Contract, WildcardsFollowTheFindFirstFileRules) {
  Write("alpha.txt");
  Write("Beta.TXT");
  Write("gamma.dat");
  Write("noext");
  ASSERT_TRUE(fs().MakeDir(In("folder")));

  std::vector<std::string> all = Names(In("*.*"));
  EXPECT_THAT(all, IsSupersetOf({".", "..", "alpha.txt", "Beta.TXT", "gamma.dat", "noext", "folder"}))
      << "*.* names every entry, with or without a dot";
  EXPECT_EQ(all.size(), 7u);
  EXPECT_EQ(Names(In("*")).size(), 7u);
  EXPECT_THAT(Names(In("*.txt")), UnorderedElementsAre("alpha.txt", "Beta.TXT"));
  EXPECT_THAT(Names(In("?eta.t?t")), UnorderedElementsAre("Beta.TXT"));
  EXPECT_THAT(Names(In("gamma.*")), UnorderedElementsAre("gamma.dat"));
  EXPECT_TRUE(Names(In("*.none")).empty());
  EXPECT_FALSE(fs().FindFirst(In("missingdir\\*.*")));

  auto folder = Lookup(fs(), In("FOLDER"));
  ASSERT_TRUE(folder) << "a name without wildcards looks up the one entry";
  EXPECT_EQ(folder->name, "folder") << "with the spelling it has on disk";
  EXPECT_TRUE(folder->isDirectory());
  EXPECT_FALSE(Lookup(fs(), In("absent")));
}

TEST_P(Contract, LongNamesHaveShortAliasesThatWorkAsPaths) {
  ASSERT_TRUE(fs().MakeDir(In("Program Files")));
  Write("Program Files\\Long File Name.html", "page");
  Write("SHORT.TXT");

  auto dir = Lookup(fs(), In("Program Files"));
  ASSERT_TRUE(dir);
  ASSERT_FALSE(dir->shortName.empty()) << "a name with a blank gets an 8.3 alias";
  EXPECT_LE(dir->shortName.size(), 8u);
  EXPECT_NE(dir->shortName.find('~'), std::string::npos);
  auto file = Lookup(fs(), In(dir->shortName + "\\Long File Name.html"));
  ASSERT_TRUE(file) << "the alias works as a directory on the way";
  ASSERT_FALSE(file->shortName.empty());
  EXPECT_TRUE(file->shortName.ends_with(".HTM")) << file->shortName;

  auto back = Lookup(fs(), In(dir->shortName + "\\" + file->shortName));
  ASSERT_TRUE(back) << "the alias of a file is found by looking it up";
  EXPECT_EQ(back->name, "Long File Name.html");
  EXPECT_EQ(fs().ReadWholeFile(In(dir->shortName + "\\" + file->shortName)), "page");
  EXPECT_THAT(Names(In("Program Files\\*.htm")), Contains("Long File Name.html"))
      << "patterns also match the alias";

  auto plain = Lookup(fs(), In("short.txt"));
  ASSERT_TRUE(plain);
  EXPECT_TRUE(plain->shortName.empty()) << "an 8.3 name needs no alias";
}

TEST_P(Contract, CopyOverwritesAndReportsWhatStoppedIt) {
  Write("from.txt", "new");
  Write("to.txt", "old");
  EXPECT_TRUE(fs().CopyOver(In("from.txt"), In("to.txt")));
  EXPECT_EQ(fs().ReadWholeFile(In("to.txt")), "new");
  EXPECT_TRUE(fs().CopyOver(In("from.txt"), In("fresh.txt")));
  EXPECT_EQ(fs().ReadWholeFile(In("fresh.txt")), "new");
  EXPECT_EQ(fs().ReadWholeFile(In("from.txt")), "new") << "the source stays";
  EXPECT_EQ(fs().CopyOver(In("missing.txt"), In("x.txt")).error, SysError::NotFound);
  EXPECT_EQ(fs().CopyOver(In("from.txt"), In("nodir\\x.txt")).error, SysError::PathNotFound);
}

TEST_P(Contract, AFileHeldOpenCannotBeDeletedOrReplaced) {
  Write("busy.dll", "in use");
  Write("new.dll", "replacement");
  ASSERT_TRUE(world_->HoldOpen(In("busy.dll")));
  EXPECT_EQ(fs().EraseFile(In("busy.dll")).error, SysError::SharingViolation);
  EXPECT_EQ(fs().CopyOver(In("new.dll"), In("busy.dll")).error, SysError::SharingViolation);
  world_->ReleaseAll();
  EXPECT_TRUE(fs().CopyOver(In("new.dll"), In("busy.dll")));
  EXPECT_TRUE(fs().EraseFile(In("busy.dll")));
}

TEST_P(Contract, RestartMovesAreRecordedWithTheirTargets) {
  Write("pending.tmp");
  ASSERT_TRUE(fs().MoveFileAtRestart(In("pending.tmp"), In("target.dll"), false));
  ASSERT_TRUE(fs().MoveFileAtRestart(In("pending.tmp"), "", false));
  std::vector<RestartMoveSeen> moves = world_->RestartMoves();
  auto has = [&](const std::string& from, const std::string& to) {
    return std::any_of(moves.begin(), moves.end(), [&](const RestartMoveSeen& m) {
      return EqualsNoCase(m.from, from) && EqualsNoCase(m.to, to);
    });
  };
  EXPECT_TRUE(has(In("pending.tmp"), In("target.dll")));
  EXPECT_TRUE(has(In("pending.tmp"), ""));
  EXPECT_TRUE(fs().GetAttributes(In("pending.tmp"))) << "nothing moves before the restart";
}

TEST_P(Contract, SequentialReadingDeliversTheWholeFileInBlocks) {
  std::string content;
  for (int i = 0; i < 3000; ++i) content += static_cast<char>('a' + i % 26);
  Write("log.txt", content);
  auto reader = fs().OpenForReading(In("log.txt"));
  ASSERT_TRUE(reader);
  std::string seen;
  char block[1024];
  for (;;) {
    auto got = reader->Read(block);
    ASSERT_TRUE(got);
    if (*got == 0) break;
    EXPECT_LE(*got, sizeof block);
    seen.append(block, *got);
  }
  EXPECT_EQ(seen, content);
  EXPECT_FALSE(fs().OpenForReading(In("missing.txt")));
}

TEST_P(Contract, SystemPlacesExistAndEndWithoutBackslash) {
  for (const std::string& place : {fs().WindowsDirectory(), fs().SystemDirectory(), fs().CurrentDirectory(),
                                   fs().TempDirectory()}) {
    ASSERT_GT(place.size(), 2u);
    if (place.size() > 3) {
      EXPECT_NE(place.back(), '\\') << place;
    }
    auto attributes = fs().GetAttributes(place);
    ASSERT_TRUE(attributes) << place;
    EXPECT_TRUE(*attributes & kAttrDirectory) << place;
  }
  EXPECT_EQ(fs().DriveTypeOf("C:\\"), DriveType::Fixed);
}

TEST_P(Contract, PathsStopAtTheBufferWidth) {
  // Build a path of exactly 259 characters: the longest that fits 260 with
  // its terminator.
  std::string sub = In(std::string(100, 'd'));
  ASSERT_TRUE(fs().MakeDir(sub));
  std::string longest = sub + "\\";
  longest += std::string(259 - longest.size(), 'f');
  ASSERT_EQ(longest.size(), 259u);
  EXPECT_TRUE(fs().WriteWholeFile(longest, "edge"));
  EXPECT_EQ(fs().ReadWholeFile(longest), "edge");
  EXPECT_TRUE(fs().EraseFile(longest));

  std::string tooLong = longest + "g";
  EXPECT_EQ(fs().WriteWholeFile(tooLong, "x").error, SysError::TooLong);
  std::string huge = In(std::string(600, 'h'));
  EXPECT_FALSE(fs().GetAttributes(huge));
  EXPECT_EQ(fs().EraseFile(huge).error, SysError::TooLong);
  EXPECT_FALSE(fs().FindFirst(huge + "\\*.*"));
  EXPECT_FALSE(fs().ReadWholeFile(huge));
}

TEST_P(Contract, ALinkLeadsElsewhereAndRemovingItSparesWhatItLeadsTo) {
  auto link = world_->Link(1);
  if (!link) GTEST_SKIP() << "this world cannot make directory links";
  auto attributes = fs().GetAttributes(link->link);
  ASSERT_TRUE(attributes);
  EXPECT_TRUE(*attributes & kAttrDirectory);
  EXPECT_TRUE(*attributes & kAttrReparsePoint);
  EXPECT_THAT(Names(link->link + "\\*.*"), Contains("KEEP.TXT")) << "enumerating a link shows the other place";
  auto entry = Lookup(fs(), link->link);
  ASSERT_TRUE(entry);
  EXPECT_TRUE(entry->isReparsePoint());

  Status removed = fs().RemoveDir(link->link);
  EXPECT_TRUE(fs().GetAttributes(link->target + "\\KEEP.TXT")) << "the link's target keeps its files";
  if (removed) {
    EXPECT_FALSE(fs().GetAttributes(link->link)) << "a removed link is gone";
  }
}

TEST_P(Contract, AWriterMakesOrEmptiesItsFileAndHoldsIt) {
  Write("out.txt", "old content that goes");
  auto writer = fs().CreateForWriting(In("out.txt"));
  ASSERT_TRUE(writer);
  EXPECT_EQ(fs().EraseFile(In("out.txt")).error, SysError::SharingViolation) << "held while open";
  EXPECT_EQ(writer->Write(std::string_view("hello ")), 6u);
  EXPECT_EQ(writer->Write(std::string_view("world\r\n")), 7u);
  EXPECT_EQ(writer->Write(std::string_view()), 0u);
  writer.reset();
  EXPECT_EQ(fs().ReadWholeFile(In("out.txt")), "hello world\r\n") << "an existing file is emptied first";
  writer = fs().CreateForWriting(In("new.txt"));
  ASSERT_TRUE(writer) << "a missing file is made";
  writer.reset();
  EXPECT_EQ(fs().ReadWholeFile(In("new.txt")), "");
  EXPECT_FALSE(fs().CreateForWriting(In("nodir\\x.txt")));
  ASSERT_TRUE(fs().MakeDir(In("Sub")));
  EXPECT_FALSE(fs().CreateForWriting(In("Sub"))) << "a directory is no file to write";
}

TEST_P(Contract, FilesAreCutRenamedAndReadFromAnOffset) {
  Write("data.txt", "0123456789");
  EXPECT_TRUE(fs().TruncateFile(In("DATA.TXT"), 4));
  EXPECT_EQ(fs().ReadWholeFile(In("data.txt")), "0123");
  EXPECT_EQ(fs().TruncateFile(In("missing.txt"), 0).error, SysError::NotFound);
  // Appending adds at the end, and makes a missing file but no directory.
  EXPECT_TRUE(fs().AppendToFile(In("data.txt"), "45"));
  EXPECT_TRUE(fs().AppendToFile(In("added.txt"), "a"));
  EXPECT_TRUE(fs().AppendToFile(In("added.txt"), "b"));
  EXPECT_EQ(fs().ReadWholeFile(In("added.txt")), "ab");
  EXPECT_FALSE(fs().AppendToFile(In("no dir\\x.txt"), "a"));
  EXPECT_TRUE(fs().TruncateFile(In("data.txt"), 4));

  auto reader = fs().OpenForReading(In("data.txt"));
  ASSERT_TRUE(reader);
  char buffer[8] = {};
  EXPECT_TRUE(reader->Seek(1));
  EXPECT_EQ(reader->Read(buffer), 3u);
  EXPECT_EQ(std::string(buffer, 3), "123");
  EXPECT_TRUE(reader->Seek(0));
  EXPECT_EQ(reader->Read(buffer), 4u);
  reader.reset();

  Write("other.txt", "other");
  EXPECT_EQ(fs().RenameFile(In("data.txt"), In("other.txt")).error, SysError::AlreadyExists);
  EXPECT_TRUE(fs().RenameFile(In("data.txt"), In("Renamed Data.txt")));
  EXPECT_FALSE(fs().GetAttributes(In("data.txt")));
  EXPECT_EQ(fs().ReadWholeFile(In("renamed data.txt")), "0123");
  EXPECT_EQ(fs().RenameFile(In("missing.txt"), In("x.txt")).error, SysError::NotFound);
}

TEST_P(Contract, IdentitiesTellWhenTwoSpellingsAreOnePlace) {
  ASSERT_TRUE(fs().MakeDir(In("Long Directory")));
  Write("Long Directory\\f.txt", "f");
  Write("g.txt", "g");
  auto dir = fs().IdentityOf(In("Long Directory"));
  ASSERT_TRUE(dir) << "directories have identities too";
  auto alias = Lookup(fs(), In("Long Directory"));
  ASSERT_TRUE(alias);
  EXPECT_EQ(fs().IdentityOf(In(alias->shortName)), dir) << "the short alias";
  EXPECT_EQ(fs().IdentityOf(In("LONG DIRECTORY\\.")), dir);
  EXPECT_EQ(fs().IdentityOf(In("Long Directory\\..\\Long Directory")), dir);
  auto file = fs().IdentityOf(In("Long Directory\\f.txt"));
  ASSERT_TRUE(file);
  EXPECT_NE(file, dir);
  EXPECT_NE(fs().IdentityOf(In("g.txt")), file);
  EXPECT_EQ(fs().IdentityOf(In("g.txt"))->volumeSerial, file->volumeSerial) << "one volume";
  EXPECT_FALSE(fs().IdentityOf(In("missing")));
  EXPECT_EQ(fs().FileIndexOf(In(alias->shortName)), dir->fileIndex) << "the index alone agrees";
  EXPECT_EQ(fs().FileIndexOf(In("Long Directory\\f.txt")), file->fileIndex);
  EXPECT_FALSE(fs().FileIndexOf(In("missing")));
}

TEST_P(Contract, TheCurrentDirectoryCanBeChangedAndBack) {
  const std::string before = fs().CurrentDirectory();
  ASSERT_FALSE(before.empty());
  Write("here.txt", "here");
  EXPECT_FALSE(fs().ChangeCurrentDirectory(In("missing")));
  EXPECT_EQ(fs().CurrentDirectory(), before);
  ASSERT_TRUE(fs().ChangeCurrentDirectory(dir_));
  EXPECT_TRUE(EqualsNoCase(fs().CurrentDirectory(), dir_)) << fs().CurrentDirectory();
  EXPECT_EQ(fs().ReadWholeFile("here.txt"), "here") << "relative paths start there";
  EXPECT_TRUE(fs().ChangeCurrentDirectory(before));
  EXPECT_TRUE(EqualsNoCase(fs().CurrentDirectory(), before));
}

TEST_P(Contract, ALinkHasTheIdentityOfWhatItLeadsTo) {
  auto link = world_->Link(4);
  if (!link) GTEST_SKIP() << "this world cannot make directory links";
  auto target = fs().IdentityOf(link->target);
  ASSERT_TRUE(target);
  EXPECT_EQ(fs().IdentityOf(link->link), target);
  EXPECT_EQ(fs().FileIndexOf(link->link), target->fileIndex);
  EXPECT_EQ(fs().IdentityOf(link->link + "\\KEEP.TXT"), fs().IdentityOf(link->target + "\\KEEP.TXT"));
}

}  // namespace scrubber::contract
