// Fuzz target for the panel document readers: any bytes as a document file must open, import and
// load as a library without a crash, and never leave the table without its header row.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "FuzzFile.h"
#include "panel/DocumentFile.h"
#include "panel/NewDocument.h"
#include "platform/UiServices.h"

namespace {

using fuzz::check;

class SilentUi final : public platform::UiServices {
 public:
  platform::MsgResult messageBox(const std::string&, const std::string&, platform::MsgButtons, platform::MsgIcon,
                                 std::optional<platform::MsgResult>) override {
    return platform::MsgResult::Ok;
  }
  void Beep(unsigned, unsigned) override {}
  std::optional<platform::FileDialogResult> openFileDialog(const platform::FileDialogRequest&) override { return {}; }
  std::optional<platform::FileDialogResult> saveFileDialog(const platform::FileDialogRequest&) override { return {}; }
  bool startProgram(const std::string&) override { return false; }
};

const fuzz::ScratchFolder& scratch() {
  static const fuzz::ScratchFolder folder("veltris-fuzz");
  return folder;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  scratch();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::filesystem::path path = fuzz::asFile(data, size);
  scratch().enter();

  SilentUi ui;
  panel::TMainFormState form;
  panel::StringGrid_Neu(form);
  const bool opened = panel::DokumentOeffnen(form, path, ui);
  check(form.DatenStringGrid.RowCount() >= 1);
  check(form.DatenStringGrid.ColCount() == panel::kKonturSpalten);
  if (opened) {
    check(form.Nutzenfertigung.xNFAnzahl >= 1 && form.Nutzenfertigung.xNFAnzahl <= panel::kMaxNutzenAnzahl);
    check(form.Nutzenfertigung.yNFAnzahl >= 1 && form.Nutzenfertigung.yNFAnzahl <= panel::kMaxNutzenAnzahl);
    check(form.nachBearbeitungRadioGroup.ItemIndex >= 0 && form.nachBearbeitungRadioGroup.ItemIndex <= 2);
    check(panel::DateiSchreiben(form).size() == 9 + static_cast<std::size_t>(form.DatenStringGrid.RowCount()));
  }
  const int rows = form.DatenStringGrid.RowCount();
  panel::DokumentImportieren(form, path);
  check(form.DatenStringGrid.RowCount() >= rows);

  panel::StringGrid biblio(panel::kKonturSpalten, 3);
  double width = 0.0;
  double height = 0.0;
  panel::BibliothekLaden(biblio, width, height, path);
  check(biblio.RowCount() >= 1);
  panel::DateiVersion(path);
  scratch().leave();
  return 0;
}
