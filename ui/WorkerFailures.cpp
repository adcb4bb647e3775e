#include "ui/WorkerFailures.h"

#include <json/json.h>

#include <exception>
#include <stdexcept>

#include "base/AnsiText.h"
#include "base/ExecutionLog.h"

namespace Ui {

namespace {

// The failure code of everything that is neither kind of logic error.
constexpr wchar_t kOtherFailureCode[] = L"12";

}  // namespace

void RunAndAnswerFailures(CMainDlg& window, const std::function<void()>& run,
                          const std::function<std::wstring()>& directUrl) {
  try {
    run();
  } catch (const Json::LogicError& failure) {
    Base::LogError(L"ThreadProc exception caught, type Json::LogicError [%s], program exit.\n",
                   Base::AnsiToWide(failure.what()).c_str());
    window.CloseMainWindow();
  } catch (const std::logic_error& failure) {
    const std::wstring message = Base::AnsiToWide(failure.what());
    Base::LogError(L"ThreadProc exception caught, type std::logic_error [%s], display error message.\n",
                   message.c_str());
    window.ShowFailure(message, directUrl());
  } catch (const std::exception& failure) {
    Base::LogError(L"ThreadProc exception caught, type std::exception [%s], display error code [%s].\n",
                   Base::AnsiToWide(failure.what()).c_str(), kOtherFailureCode);
    window.ShowFailure(kOtherFailureCode, directUrl());
  } catch (...) {
    Base::LogError(L"ThreadProc exception caught, unknown type, display error code [%s].\n", kOtherFailureCode);
    window.ShowFailure(kOtherFailureCode, directUrl());
  }
}

}  // namespace Ui
