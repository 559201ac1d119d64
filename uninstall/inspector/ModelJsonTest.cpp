#include "ModelJson.h"

#include <gtest/gtest.h>

namespace scrubber {
namespace {

bool Has(const std::string& text, std::string_view part) { return text.find(part) != std::string::npos; }

TEST(ModelJson, EveryListAndFieldIsPrintedEvenWhenEmpty) {
  UninstallModel model;
  model.installCount = 2;
  model.lastInstallOffset = 1234;
  model.uninstallDir = "C:\\PROGRA~1\\DEMO\\";
  const std::string json = ModelToJson(model, Cp1252ToUtf8);
  for (std::string_view key : {"\"LogHeader\": {", "\"title\": \"\"", "\"serialNumber\": \"\"", "\"installCount\": 2",
                               "\"lastInstallOffset\": 1234", "\"ansiText\": 0", "\"hasBackups\": 0",
                               "\"uninstallDir\": \"C:\\\\PROGRA~1\\\\DEMO\\\\\"", "\"PrivateFiles\": []",
                               "\"SystemFiles\": []", "\"Directories\": []", "\"IniFiles\": []", "\"IniEntries\": []",
                               "\"RegKeys\": []", "\"RegTrees\": []", "\"RegEdits\": []", "\"Icons\": []",
                               "\"ExternalPrograms\": []", "\"Services\": []", "\"EditedFiles\": []",
                               "\"SubSystem\": null"})
    EXPECT_TRUE(Has(json, key)) << key << "\n" << json;
}

TEST(ModelJson, RecordsKeepTheirFieldsAndTextIsEscaped) {
  UninstallModel model;
  model.PrivateFiles.push_back(FileItem{"C:\\APP\\\"Q\".EXE", "", 0, 1, 0, 2, 1, false});
  model.RegEdits.push_back(RegEditItem{"Software\\Demo", "List", std::string("a\0b\0\0", 5), 2, 2, 0, 1});
  model.Services.push_back(ServiceItem{"Caf\xE9\x80\x01", 0, 1});
  model.SubSystem = SubSystemItem{true, "BDE", 0};
  const std::string json = ModelToJson(model, Cp1252ToUtf8);
  EXPECT_TRUE(Has(json, "\"path\": \"C:\\\\APP\\\\\\\"Q\\\".EXE\"")) << json;
  EXPECT_TRUE(Has(json, "\"deviceInstall\": 2"));
  EXPECT_TRUE(Has(json, "\"sharedCounted\": false"));
  EXPECT_TRUE(Has(json, "\"oldData\": [\n        \"a\",\n        \"b\"\n      ]")) << json;
  EXPECT_TRUE(Has(json, "\"rootName\": \"HKEY_LOCAL_MACHINE\""));
  EXPECT_TRUE(Has(json, "\"typeName\": \"REG_MULTI_SZ\""));
  EXPECT_TRUE(Has(json, "\"name\": \"Caf\xC3\xA9\xE2\x82\xAC\\u0001\""));  // cp1252 to UTF-8
  EXPECT_TRUE(Has(json, "\"SubSystem\": {\n    \"text\": \"BDE\""));
}

}  // namespace
}  // namespace scrubber
