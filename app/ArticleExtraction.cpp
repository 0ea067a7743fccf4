#include "app/ArticleExtraction.h"

#include "app/ImageAddressList.h"
#include "app/MainWindow.h"
#include "json/JsonDocument.h"
#include "text/BatchReplace.h"
#include "text/RegexObject.h"
#include "web/HeaderText.h"
#include "web/WebAccess.h"

namespace {
constexpr char kRecordStart[] = "<script>window.articleInfo =";
constexpr char kRecordEnd[] = ";</script>";
constexpr char kBodyPath[] = "parts[0].content";
constexpr char kPicturePattern[] = "src=\"(.*?)\"";
}  // namespace

void ExtractArticleImages() {
  JsonDocument document;
  RegexObject regex;  // initialises COM on this thread until it is destroyed
  ImageAddressList->clear();

  Form* form = MainWindowForm();
  Text address = form ? (*form)["编辑框1"].GetText() : Text();
  const Text page = WebAccessText(address, 0);
  const Text record = TextBetween(page, kRecordStart, kRecordEnd);
  document.Parse(record);
  const Text body = document.DecodeString(document.GetValue(kBodyPath, nullptr, nullptr, false));
  document.Clear();

  const Text cleaned = BatchReplace(body, {}, 1, false, " ", "", Text("\\"), Text(""), Text("'"),
                                    Text("\""));
  regex.Create(kPicturePattern, cleaned);
  const int count = regex.MatchCount();
  for (int i = 1; i <= count; ++i) ImageAddressList->push_back(regex.SubMatchText(i, 1));
}
