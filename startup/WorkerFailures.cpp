#include "startup/WorkerFailures.h"

#include <json/json.h>

#include <exception>
#include <stdexcept>

#include "base/AnsiText.h"
#include "base/ExecutionLog.h"
#include "catalog/ErrorCodes.h"

namespace Startup {

void RunAndAnswerFailures(Ui::CMainDlg& window, const std::function<void()>& run,
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
    const std::wstring code = Catalog::ErrorCodeWideText(Catalog::ErrorCode::kUnexpectedFailure);
    Base::LogError(L"ThreadProc exception caught, type std::exception [%s], display error code [%s].\n",
                   Base::AnsiToWide(failure.what()).c_str(), code.c_str());
    window.ShowFailure(code, directUrl());
  } catch (...) {
    const std::wstring code = Catalog::ErrorCodeWideText(Catalog::ErrorCode::kUnexpectedFailure);
    Base::LogError(L"ThreadProc exception caught, unknown type, display error code [%s].\n", code.c_str());
    window.ShowFailure(code, directUrl());
  }
}

}  // namespace Startup
