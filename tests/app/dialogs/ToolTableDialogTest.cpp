// Tests of the tool-table dialog's model: what it shows, and that every way of closing stores
// what the user typed.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "app/dialogs/ToolTableDialog.h"

namespace {

app::ToolTable distinctTable() {
  app::ToolTable t;
  for (int n = 0; n < app::kToolCount; ++n) {
    t.TStartfreq[n] = 1000 + n;
    t.TArbeitsfreq[n] = 2000 + n;
    t.TEilfreq[n] = 3000 + n;
    t.TRampenlaenge[n] = 40 + n;
  }
  t.TArbeitsfreq[2] = -5;
  return t;
}

TEST(ToolTableDialog, ActivationShowsCaptionsAndEveryToolsValues) {
  app::TToolDefForm form;
  form.OnActivate(distinctTable());
  const panel::StringGrid& g = form.toolStringGrid;
  ASSERT_EQ(g.ColCount(), 5);
  ASSERT_EQ(g.RowCount(), 8);

  const std::string header[] = {"", "Startfreq", "Arbeitsfreq", "Eilfreq", "Rampenlänge"};
  for (int col = 0; col < 5; ++col) EXPECT_EQ(g.Cells(col, 0), header[col]) << col;
  for (int n = 0; n < app::kToolCount; ++n) {
    const int row = n + 1;
    EXPECT_EQ(g.Cells(0, row), "Tool " + std::to_string(n + 1));
    EXPECT_EQ(g.Cells(1, row), std::to_string(1000 + n));
    EXPECT_EQ(g.Cells(2, row), n == 2 ? "-5" : std::to_string(2000 + n));
    EXPECT_EQ(g.Cells(3, row), std::to_string(3000 + n));
    EXPECT_EQ(g.Cells(4, row), std::to_string(40 + n));
  }

  // Without a configuration file the table holds the built-in speeds.
  form.OnActivate(app::ToolTable{});
  for (int row = 1; row <= app::kToolCount; ++row) {
    EXPECT_EQ(g.Cells(1, row), "200");
    EXPECT_EQ(g.Cells(2, row), "400");
    EXPECT_EQ(g.Cells(3, row), "600");
    EXPECT_EQ(g.Cells(4, row), "100");
  }
}

TEST(ToolTableDialog, EveryWayOfClosingStoresWhatWasTyped) {
  struct Way {
    const char* name;
    std::function<void(const app::TToolDefForm&, app::ToolTable&)> close;
  };
  const Way ways[] = {
      {"OK",
       [](const app::TToolDefForm& f, app::ToolTable& t) {
         f.OKBitBtnClick(t);
         f.OnClose(t);
       }},
      {"Abbrechen or close box", [](const app::TToolDefForm& f, app::ToolTable& t) { f.OnClose(t); }},
  };
  struct Typed {
    const char* text;
    std::int32_t stored;
  };
  const Typed typed[] = {{"abc", 0}, {"", 0}, {"1.5", 0}, {" 1 500 ", 1500}, {"-20", -20}, {"750", 750}};

  for (const auto& way : ways) {
    for (const auto& t : typed) {
      app::ToolTable table = distinctTable();
      app::TToolDefForm form;
      form.OnActivate(table);
      form.toolStringGrid.setCells(2, 3, t.text);  // working frequency of Tool 3
      way.close(form, table);

      app::ToolTable expected = distinctTable();
      expected.TArbeitsfreq[2] = t.stored;
      EXPECT_EQ(table, expected) << way.name << " / " << t.text;

      // The next showing reads the table again, so it shows what was stored, not what was typed.
      form.OnActivate(table);
      EXPECT_EQ(form.toolStringGrid.Cells(2, 3), std::to_string(t.stored)) << way.name << " / " << t.text;
    }
  }
}

}  // namespace
