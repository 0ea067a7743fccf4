// The whole road of an article through the main window: the address typed, the page fetched from
// the loopback server, the pictures counted, the start button pressed and the files on disk.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/ImageAddressList.h"
#include "app/MainWindow.h"
#include "app/StartUp.h"
#include "forms/Runtime.h"
#include "forms/WideText.h"
#include "tests/support/LoopbackServer.h"

namespace {

// An article page in the site's shape; `parts` are JSON string bodies, already escaped.
std::string ArticlePage(const std::vector<std::string>& parts) {
  std::string record = "{\"id\":7,\"parts\":[";
  for (size_t i = 0; i < parts.size(); ++i) {
    record += (i ? "," : "") + std::string("{\"title\":\"p\",\"content\":\"") + parts[i] + "\"}";
  }
  record += "],\"title\":\"demo\"}";
  return "<html><head></head><body><script>window.articleInfo = " + record +
         ";</script><p>after</p></body></html>";
}

Bytes PictureBytes(int n, size_t size) {
  Bytes b(size);
  for (size_t i = 0; i < size; ++i) b[i] = static_cast<unsigned char>((i * 31 + n * 7) & 0xFF);
  b[0] = 0;  // a zero byte early on must survive
  return b;
}

Bytes ReadFileBytes(const Text& name) {
  Bytes data;
  HANDLE f = CreateFileW(WideFromText(name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                         OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return data;
  LARGE_INTEGER size;
  GetFileSizeEx(f, &size);
  data.resize(static_cast<size_t>(size.QuadPart));
  DWORD read = 0;
  if (!data.empty()) ReadFile(f, data.data(), static_cast<DWORD>(data.size()), &read, nullptr);
  CloseHandle(f);
  return data;
}

bool FileExists(const Text& name) {
  return GetFileAttributesW(WideFromText(name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Records every caption written to the count label and every progress position, in order.
struct Recorder {
  std::vector<Text> captions;
  std::vector<int> positions;

  static LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR self) {
    auto* r = reinterpret_cast<Recorder*>(self);
    if (m == WM_SETTEXT) r->captions.push_back(TextFromWide(reinterpret_cast<const wchar_t*>(lp)));
    if (m == PBM_SETPOS) r->positions.push_back(static_cast<int>(wp));
    return DefSubclassProc(w, m, wp, lp);
  }
};

class ArticleFlowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { StartUp(); }

  void SetUp() override {
    ASSERT_TRUE(server_.Running());
    form_ = LoadMainWindow(Form::Mode::Modeless);
    ASSERT_NE(form_, nullptr);
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    // A folder with Chinese characters and a space: the files go through the wide functions.
    folder_ = TextFromWide(temp) + "tessapic " + std::to_string(GetTickCount()) + " 图片";
    CreateDirectoryW(WideFromText(folder_).c_str(), nullptr);
    (*form_)["编辑框2"].SetText(folder_);
    SetWindowSubclass((*form_)["标签3"].Handle(), Recorder::Proc, 1,
                      reinterpret_cast<DWORD_PTR>(&recorder_));
    SetWindowSubclass((*form_)["进度条1"].Handle(), Recorder::Proc, 1,
                      reinterpret_cast<DWORD_PTR>(&recorder_));
  }

  void TearDown() override {
    if (MainWindowForm()) MainWindowForm()->Destroy();
    ProcessPendingEvents();
  }

  std::string Article(int n) const {
    return server_.Address("/www.artisite.example/a/ac" + std::to_string(n));
  }
  std::string ServeArticle(int n, const std::vector<std::string>& parts) {
    server_.Serve("/www.artisite.example/a/ac" + std::to_string(n), Answer::Ok(ArticlePage(parts)));
    return Article(n);
  }
  // Serves a picture and gives its tag as an article part holds it; `suffix` follows the address.
  std::string ServePicture(const std::string& path, Answer answer, const std::string& suffix = "") {
    server_.Serve(path, std::move(answer));
    return "<img src=\\\"" + server_.Address(path) + suffix + "\\\">";
  }
  void Type(const std::string& address) { (*form_)["编辑框1"].SetText(address); }
  Text FileName(int n) const { return folder_ + "\\" + std::to_string(n) + ".jpg"; }

  // Presses the start button, recording afresh.
  void Start() {
    recorder_.captions.clear();
    recorder_.positions.clear();
    SendMessageW((*form_)["按钮2"].Handle(), BM_CLICK, 0, 0);
  }

  // Presses the start button and keeps the window alive until the job says it is done.
  bool DownloadAll() {
    Start();
    return WaitForTheEnd();
  }

  // The label may still read "下载完毕" from an earlier job: what counts is this job's own end.
  bool WaitForTheEnd() {
    for (int i = 0; i < 3000; ++i) {
      ProcessPendingEvents();
      if (!recorder_.captions.empty() && recorder_.captions.back() == "下载完毕") return true;
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    return false;
  }

  LoopbackServer server_;
  Form* form_ = nullptr;
  Text folder_;
  Recorder recorder_;
};

TEST_F(ArticleFlowTest, FindsEverySourceAttributeOfTheFirstPart) {
  const struct {
    const char* what;
    std::vector<std::string> parts;
    std::vector<Text> expected;
  } table[] = {
      {"escaped double quotes, then single-quoted SRC, in order",
       {"<img src=\\\"http://h/a.jpg\\\"><IMG SRC='http://h/b.png'>"},
       {"http://h/a.jpg", "http://h/b.png"}},
      {"spaces around the equals sign and data-src",
       {"<img src = \\\"x.jpg\\\" ><img data-src=\\\"d.jpg\\\">"}, {"x.jpg", "d.jpg"}},
      {"repeats are kept", {"<img src=\\\"r.jpg\\\"><img src=\\\"r.jpg\\\">"}, {"r.jpg", "r.jpg"}},
      {"an empty src counts", {"<img src=\\\"\\\">"}, {""}},
      {"spaces and backslashes leave the address", {"<img src=\\\"a b\\\\c.jpg\\\">"}, {"abc.jpg"}},
      {"a single quote inside ends the capture", {"<img src=\\\"it's.jpg\\\">"}, {"it"}},
      {"only the first part is read",
       {"<img src=\\\"one.jpg\\\">", "<img src=\\\"two.jpg\\\">"}, {"one.jpg"}},
      {"escapes of the record are decoded first", {"<img src=\\u0022u.jpg\\u0022>\\n"}, {"u.jpg"}},
      {"no picture", {"<p>text only</p>"}, {}},
  };
  int n = 100;
  for (const auto& row : table) {
    SCOPED_TRACE(row.what);
    Type(ServeArticle(++n, row.parts));
    EXPECT_EQ(*ImageAddressList, row.expected);
    EXPECT_EQ((*form_)["标签3"].GetText(), "发现图片" + std::to_string(row.expected.size()));
    EXPECT_FALSE((*form_)["按钮2"].IsDisabled());
  }
}

TEST_F(ArticleFlowTest, PagesWithoutAUsableRecordCountZero) {
  server_.Serve("/www.artisite.example/a/ac201", Answer::Ok("<html>no record here</html>"));
  server_.Serve("/www.artisite.example/a/ac202",
                Answer::Ok("<script>window.articleInfo = not json at all;</script>"));
  server_.Serve("/www.artisite.example/a/ac203",
                Answer::Ok(ArticlePage({"<img src=\\\"first.jpg\\\">"}) +
                           ArticlePage({"<img src=\\\"second.jpg\\\">"})));
  const struct { std::string address; size_t count; } table[] = {
      {Article(201), 0},
      {Article(202), 0},
      {"http://127.0.0.1:1/www.artisite.example/a/ac204", 0},  // nobody listens there
      {Article(203), 1},                                        // two records: the first one
  };
  for (const auto& row : table) {
    SCOPED_TRACE(row.address);
    ImageAddressList->assign({"stale"});
    Type(row.address);
    EXPECT_EQ(ImageAddressList->size(), row.count);
    EXPECT_EQ((*form_)["标签3"].GetText(), "发现图片" + std::to_string(row.count));
  }
  EXPECT_EQ(ImageAddressList->front(), "first.jpg");
}

TEST_F(ArticleFlowTest, DownloadsEveryPictureAsANumberedFile) {
  std::string html;
  for (int i = 1; i <= 3; ++i) {
    // The last address carries a fragment, which is not sent.
    html += ServePicture("/p/" + std::to_string(i) + ".jpg",
                         Answer::Ok(PictureBytes(i, 70000 + static_cast<size_t>(i)), "image/jpeg"),
                         i == 3 ? "#top" : "");
  }
  Type(ServeArticle(301, {html}));
  ASSERT_EQ((*form_)["标签3"].GetText(), "发现图片3");
  ASSERT_TRUE(DownloadAll());

  EXPECT_EQ(recorder_.captions,
            (std::vector<Text>{"下载开始1/3", "下载开始2/3", "下载开始3/3", "下载完毕"}));
  EXPECT_EQ(recorder_.positions, (std::vector<int>{33, 66, 100}));
  EXPECT_EQ((*form_)["高级选择夹1"].GetCurrentPage(), 0);
  EXPECT_EQ((*form_)["进度条1"].GetPosition(), 100);
  for (int i = 1; i <= 3; ++i) {
    EXPECT_EQ(ReadFileBytes(FileName(i)), PictureBytes(i, 70000 + static_cast<size_t>(i))) << i;
  }
  // The picture requests are plain HTTP/1.0 GETs with their own agent and no cookies.
  const RecordedRequest last = server_.LastRequest();
  EXPECT_EQ(last.requestLine, "GET /p/3.jpg HTTP/1.0");
  EXPECT_EQ(last.Header("User-Agent"), "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)");
  EXPECT_EQ(last.Header("Accept"), "*/*");
  EXPECT_FALSE(last.HasHeader("Cookie"));
  EXPECT_FALSE(last.HasHeader("Referer"));

  // Again over existing files: overwritten without a question.
  server_.Serve("/p/1.jpg", Answer::Ok(PictureBytes(9, 10), "image/jpeg"));
  ASSERT_TRUE(DownloadAll());
  EXPECT_EQ(ReadFileBytes(FileName(1)), PictureBytes(9, 10));
}

TEST_F(ArticleFlowTest, FailedPicturesKeepTheirNumbersAndTheJobGoesOn) {
  Type(ServeArticle(401, {"<img src=\\\"no-scheme/x.jpg\\\">" +
                          ServePicture("/p/missing.jpg", Answer::Status(404, "Not Found", "<h1>gone</h1>")) +
                          ServePicture("/p/ok.jpg", Answer::Ok(PictureBytes(1, 5000), "image/jpeg")) +
                          "<img src=\\\"http://127.0.0.1:1/closed.jpg\\\">"}));
  ASSERT_EQ(ImageAddressList->size(), 4u);
  ASSERT_TRUE(DownloadAll());
  EXPECT_TRUE(FileExists(FileName(1)));
  EXPECT_TRUE(ReadFileBytes(FileName(1)).empty());  // no scheme: an empty file
  const Bytes errorPage = ReadFileBytes(FileName(2));
  EXPECT_EQ(std::string(errorPage.begin(), errorPage.end()), "<h1>gone</h1>");
  EXPECT_EQ(ReadFileBytes(FileName(3)), PictureBytes(1, 5000));
  EXPECT_TRUE(FileExists(FileName(4)));
  EXPECT_TRUE(ReadFileBytes(FileName(4)).empty());
  EXPECT_EQ(recorder_.positions, (std::vector<int>{25, 50, 75, 100}));

  // A folder that does not exist: nothing written, no message, the job still ends.
  (*form_)["编辑框2"].SetText(folder_ + "\\missing\\deeper");
  ASSERT_TRUE(DownloadAll());
  EXPECT_FALSE(FileExists(folder_ + "\\missing\\deeper\\1.jpg"));
  EXPECT_EQ(recorder_.captions.back(), "下载完毕");
}

TEST_F(ArticleFlowTest, AnEmptyListEndsAtOnceAndLeavesTheProgressBar) {
  Type(ServeArticle(501, {"<p>nothing</p>"}));
  ASSERT_TRUE(ImageAddressList->empty());
  const int before = (*form_)["进度条1"].GetPosition();
  ASSERT_TRUE(DownloadAll());
  EXPECT_EQ(recorder_.captions, (std::vector<Text>{"下载完毕"}));
  EXPECT_TRUE(recorder_.positions.empty());
  EXPECT_EQ((*form_)["进度条1"].GetPosition(), before);
  EXPECT_EQ((*form_)["高级选择夹1"].GetCurrentPage(), 0);
  EXPECT_FALSE(FileExists(FileName(1)));
}

TEST_F(ArticleFlowTest, AJobKeepsTheListItStartedWith) {
  std::string html;
  for (int i = 1; i <= 3; ++i) {
    Answer slow = Answer::Ok(PictureBytes(i, 3000), "image/jpeg");
    slow.delayMs = 150;
    html += ServePicture("/slow/" + std::to_string(i) + ".jpg", slow);
  }
  Type(ServeArticle(601, {html}));
  ASSERT_EQ(ImageAddressList->size(), 3u);
  Start();
  // While the job runs, another article with a single picture replaces the list.
  Type(ServeArticle(602, {"<img src=\\\"http://127.0.0.1:1/other.jpg\\\">"}));
  ASSERT_EQ(ImageAddressList->size(), 1u);
  ASSERT_TRUE(WaitForTheEnd());
  for (int i = 1; i <= 3; ++i) EXPECT_EQ(ReadFileBytes(FileName(i)), PictureBytes(i, 3000)) << i;
  EXPECT_NE(std::find(recorder_.captions.begin(), recorder_.captions.end(), "下载开始3/3"),
            recorder_.captions.end());
}

TEST_F(ArticleFlowTest, AJobNeverWaitsForABusyWindow) {
  std::string html;
  for (int i = 1; i <= 3; ++i) {
    html += ServePicture("/busy/" + std::to_string(i) + ".jpg", Answer::Ok(PictureBytes(i, 2000), "image/jpeg"));
  }
  Type(ServeArticle(701, {html}));
  server_.ClearRequests();
  Start();
  // The window's thread handles no message now; the job still fetches every picture.
  for (int i = 0; i < 1000 && server_.RequestCount() < 3; ++i) Sleep(10);
  EXPECT_EQ(server_.RequestCount(), 3u);
  ASSERT_TRUE(WaitForTheEnd());
  EXPECT_EQ(recorder_.captions,
            (std::vector<Text>{"下载开始1/3", "下载开始2/3", "下载开始3/3", "下载完毕"}));
  EXPECT_EQ(recorder_.positions, (std::vector<int>{33, 66, 100}));
  EXPECT_EQ((*form_)["高级选择夹1"].GetCurrentPage(), 0);
}

TEST_F(ArticleFlowTest, AFolderChangedDuringAJobTakesTheLaterPictures) {
  std::string html;
  for (int i = 1; i <= 3; ++i) {
    Answer answer = Answer::Ok(PictureBytes(i, 2000), "image/jpeg");
    if (i == 2) answer.delayMs = 300;
    html += ServePicture("/move/" + std::to_string(i) + ".jpg", answer);
  }
  Type(ServeArticle(801, {html}));
  server_.ClearRequests();
  Start();
  // Once the second picture is asked for, its file name is made; the third goes elsewhere.
  for (int i = 0; i < 1000 && server_.RequestCount() < 2; ++i) {
    ProcessPendingEvents();
    Sleep(5);
  }
  ASSERT_EQ(server_.RequestCount(), 2u);
  const Text moved = folder_ + "\\later";
  CreateDirectoryW(WideFromText(moved).c_str(), nullptr);
  (*form_)["编辑框2"].SetText(moved);
  ASSERT_TRUE(WaitForTheEnd());
  EXPECT_EQ(ReadFileBytes(FileName(2)), PictureBytes(2, 2000));
  EXPECT_FALSE(FileExists(FileName(3)));
  EXPECT_EQ(ReadFileBytes(moved + "\\3.jpg"), PictureBytes(3, 2000));
}

}  // namespace
