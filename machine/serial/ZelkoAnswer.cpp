// The error answer of the text protocol controllers.
#include "ZelkoAnswer.h"

#include <cctype>

#include "ZelkoComReceiver.h"

namespace machine {

std::optional<int> errorAnswerCode(const std::string& answer) {
  if (answer.size() < 3 || answer.size() > 6 || answer.front() != 'E' || answer.back() != kZelkoBel)
    return std::nullopt;
  int n = 0;
  for (std::size_t i = 1; i + 1 < answer.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(answer[i]))) return std::nullopt;
    n = n * 10 + (answer[i] - '0');
  }
  return kErrorCodeBase + n;
}

}  // namespace machine
