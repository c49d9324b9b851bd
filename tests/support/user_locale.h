#pragma once

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <string>
#include <string_view>

namespace testing_support {

inline constexpr char kGermanLocale[] = "de_DE.UTF-8";  // a comma before the decimals
inline constexpr char kPashtoLocale[] = "ps_AF.UTF-8";  // U+066B, two bytes

// For its life the process runs in a user's locale whose decimal point is not a full stop, as
// QApplication sets the user's locale from the environment. The build makes the locales with
// localedef in a folder of its own (TORVEX_LOCALE_DIR), so no machine needs them installed; one
// that cannot be set fails the test rather than let it pass in the C locale.
class UserLocale {
  public:
    explicit UserLocale(const char* name) : previous_(std::setlocale(LC_ALL, nullptr)) {
        setenv("LOCPATH", TORVEX_LOCALE_DIR, 1);
        if (std::setlocale(LC_ALL, name) == nullptr ||
            std::string_view(std::localeconv()->decimal_point) == ".") {
            ADD_FAILURE() << "no locale " << name << " with its own decimal point in "
                          << TORVEX_LOCALE_DIR;
        }
    }
    ~UserLocale() {
        unsetenv("LOCPATH");
        std::setlocale(LC_ALL, previous_.c_str());
    }
    UserLocale(const UserLocale&) = delete;
    UserLocale& operator=(const UserLocale&) = delete;

  private:
    std::string previous_;
};

}  // namespace testing_support
