"use strict";
// What the live page decides from the document, without a browser: the
// badge, the visitor-first order of its tables, the plays as it lists them,
// the leaders, drives and scoring as it shows them, and the team tables.
// node live-page.test.js LIVE_JS
const assert = require("assert");
const fs = require("fs");

const PylonixLive = new Function(fs.readFileSync(process.argv[2], "utf8") + "\nreturn PylonixLive;")();
const short = { home: "KBM", visitor: "AMW" };
const cases = [];
const test = (name, run) => cases.push({ name, run });

test("the badge says the final period label once the game is over, connected or not", () => {
  for (const label of ["Final", "Final/OT", "Final/2OT"]) {
    const final = { scoreboard: { final: true }, situation: { period_label: label } };
    assert.deepStrictEqual(PylonixLive.badge(final, true), { text: label, className: "final" });
    assert.strictEqual(PylonixLive.badge(final, false).text, label);
    assert.strictEqual(PylonixLive.periodClock(final), "");
  }
  const playing = { scoreboard: { final: false, minutes: 2, seconds: 5 }, situation: { period_label: "OT" } };
  assert.strictEqual(PylonixLive.badge(playing, true).text, "live");
  assert.strictEqual(PylonixLive.badge(playing, false).className, "offline");
  assert.strictEqual(PylonixLive.badge(null, false).text, "reconnecting");
  assert.strictEqual(PylonixLive.periodClock(playing), "OT 2:05");
});

test("the team comparison puts the visitor's column first; other tables stay as they are", () => {
  const cell = (text) => ({ text });
  const table = { columns: [{ header: "" }, { header: "KBM" }, { header: "AMW" }],
                  rows: [{ cells: [cell("First Downs"), cell("21"), cell("17")] }] };
  const swapped = PylonixLive.visitorFirst(table);
  assert.deepStrictEqual(swapped.columns.map((c) => c.header), ["", "AMW", "KBM"]);
  assert.deepStrictEqual(swapped.rows[0].cells.map((c) => c.text), ["First Downs", "17", "21"]);
  assert.deepStrictEqual(table.rows[0].cells.map((c) => c.text), ["First Downs", "21", "17"]);
  assert.strictEqual(PylonixLive.visitorFirst(undefined), undefined);
});

test("plays: a heading where a quarter starts, the code with its yards, first downs told", () => {
  const play = (quarter, code, extra) => ({ quarter, clock: "", team: "visitor", down_distance: "1st & 10",
                                            spot: "AMW25", text: "a play", yards: "7", code, ...extra });
  const list = PylonixLive.playList([play("1", "r"), play("1", "P"), play("2", "", { team: null, yards: "0" }),
                                     play("5", "p")], short);
  assert.deepStrictEqual(list.map((p) => p.heading), ["1st quarter", "", "2nd quarter", "Overtime"]);
  assert.deepStrictEqual(list.map((p) => p.code), ["r7", "P7", "", "p7"]);
  assert.deepStrictEqual(list.map((p) => p.first), [false, true, false, false]);
  assert.ok(list[0].meta.startsWith("AMW") && list[0].meta.includes("1st & 10") && list[0].meta.includes("AMW25"));
  assert.ok(!list[2].meta.includes("AMW \u00B7") && list[2].side === "");
});

test("leaders are listed visitor first, each with the team's short name", () => {
  const category = { category: "passing", title: "Passing", columns: ["C/A", "YDS", "TD", "INT"],
                     home: [{ name: "H. One", values: ["15/31", "245", "2", "0"] }],
                     visitor: [{ name: "V. One", values: ["9/20", "130", "1", "1"] },
                               { name: "V. Two", values: ["1/1", "4", "0", "0"] }] };
  const table = PylonixLive.leaderTable(category, short);
  assert.deepStrictEqual(table.columns.map((c) => c.header), ["Passing", "C/A", "YDS", "TD", "INT"]);
  assert.deepStrictEqual(table.rows.map((r) => r.cells[0].text), ["AMW V. One", "AMW V. Two", "KBM H. One"]);
  assert.deepStrictEqual(table.rows[2].cells.slice(1).map((c) => c.text), category.home[0].values);
});

test("scores as the page lists them: the visitor's score first", () => {
  const headers = ["Team", "Qtr", "Time", "Play", "Drive", "TOP", "Score"];
  const scoring = { columns: headers.map((header) => ({ header })),
                    rows: [{ cells: ["AMW", "2", "12:46", "Q. Ochoa 3 yard pass", "4 - 61", "02:14", "3-7"]
                                .map((text) => ({ text })) },
                           { cells: ["Kestrel Bay", "3", "01:00", "FG", "", "", "6-7"].map((text) => ({ text })) }] };
  const items = PylonixLive.scoringItems(scoring, short, { home: "Kestrel Bay", visitor: "Aldric" });
  assert.deepStrictEqual(items.map((i) => i.score), ["AMW 7 - KBM 3", "AMW 7 - KBM 6"]);
  assert.deepStrictEqual(items.map((i) => i.side), ["visitor", "home"]);
  assert.deepStrictEqual(items.map((i) => i.drive), ["4 - 61, 02:14", ""]);
});

test("team tables: visitor first, tables of nobody left out, open only where there is room", () => {
  const listed = { columns: [{ header: "KBM" }, { header: "YDS" }], rows: [{ data: 0, cells: [] }] };
  const nobody = { columns: [], rows: [{ data: -1, cells: [] }] };
  const pages = { offense: { home: { passing: listed },
                             visitor: { receiving: listed, passing: nobody, rushing: listed } },
                  defense: { home: { defense: listed }, visitor: { defense: listed } },
                  special_teams: { home: { punting: nobody }, visitor: {} } };
  const teams = PylonixLive.teamTables(pages);
  assert.deepStrictEqual(teams.map((t) => t.side), ["visitor", "home"]);
  // In the window's order, each titled where the window names the team.
  assert.deepStrictEqual(teams[0].groups[0].tables.map((t) => t.name), ["rushing", "receiving"]);
  assert.deepStrictEqual(teams[0].groups[0].tables[0].table.columns.map((c) => c.header), ["Rushing", "YDS"]);
  assert.strictEqual(listed.columns[0].header, "KBM");
  assert.deepStrictEqual(teams[1].groups.map((g) => g.tables.length), [1, 1, 0]);
  assert.strictEqual(PylonixLive.tablesOpen(390), false);
  assert.strictEqual(PylonixLive.tablesOpen(1920), true);
});

let failed = 0;
for (const { name, run } of cases) {
  try {
    run();
  } catch (error) {
    ++failed;
    console.log("FAIL " + name + ": " + error.message);
  }
}
console.log(`${cases.length - failed} passed, ${failed} failed`);
process.exit(failed === 0 ? 0 : 1);
