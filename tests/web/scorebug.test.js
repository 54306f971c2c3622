"use strict";
// What the score bug decides without a browser (web/scorebug.js on
// web/common.js): the plates' colours and their text, the period once final,
// where the ball is, the timeouts and how a long name is fitted.
// node scorebug.test.js COMMON_JS SCOREBUG_JS
const assert = require("assert");
const fs = require("fs");

const [common, scorebug] = process.argv.slice(2);
globalThis.location = { search: "" }; // the page reads its address on load
const ScoreBug = new Function(
    fs.readFileSync(common, "utf8") + fs.readFileSync(scorebug, "utf8") + "\nreturn ScoreBug;")();

const teams = { home: { name: "Kestrel Bay Mariners", short_name: "KBM" },
                visitor: { name: "Aldric & Mercy Wardens", short_name: "AMW" } };
const board = { home_score: 21, visitor_score: 17, minutes: 4, seconds: 7, final: false };
const glance = { period_label: "4th", possession: "home", down_distance: "3rd & 7",
                 ball_on: "AMW35", timeouts_left: { home: 2, visitor: 0 } };

// WCAG 2 contrast, worked out here apart from the page's own.
function contrastRatio(a, b) {
  const lum = (hex) => {
    const c = [1, 3, 5].map((i) => parseInt(hex.slice(i, i + 2), 16) / 255)
        .map((v) => (v <= 0.03928 ? v / 12.92 : ((v + 0.055) / 1.055) ** 2.4));
    return 0.2126 * c[0] + 0.7152 * c[1] + 0.0722 * c[2];
  };
  const [x, y] = [lum(a), lum(b)].sort((p, q) => q - p);
  return (x + 0.05) / (y + 0.05);
}

const tests = {
  "each plate is in its team's colour with the text that reads best on it"() {
    const hex = (n) => n.toString(16).padStart(2, "0");
    for (let r = 0; r < 256; r += 51)
      for (let g = 0; g < 256; g += 51)
        for (let b = 0; b < 256; b += 51) {
          const color = "#" + hex(r) + hex(g) + hex(b);
          const shown = ScoreBug.model(board, glance, teams,
                                       { home: color.toUpperCase(), visitor: color }).home;
          assert.strictEqual(shown.color, color);
          const other = shown.text === "#ffffff" ? "#000000" : "#ffffff";
          assert.ok(contrastRatio(color, shown.text) >= 4.5, color);
          assert.ok(contrastRatio(color, shown.text) >= contrastRatio(color, other), color);
        }
  },

  "a colour that is not #rrggbb leaves the team's own default, the two told apart"() {
    const defaults = ScoreBug.model(board, glance, teams, undefined);
    assert.notStrictEqual(defaults.home.color, defaults.visitor.color);
    for (const bad of ["red", "#12345", "#1234567", "url(x)", 7, null]) {
      const shown = ScoreBug.model(board, glance, teams, { home: bad, visitor: bad });
      assert.strictEqual(shown.home.color, defaults.home.color);
      assert.strictEqual(shown.visitor.color, defaults.visitor.color);
    }
  },

  "a game over shows FINAL with its overtimes and no clock, down, ball or possession"() {
    for (const [label, shown] of [["Final", "FINAL"], ["Final/OT", "FINAL OT"],
                                  ["Final/2OT", "FINAL 2OT"]]) {
      const over = ScoreBug.model({ ...board, final: true }, { ...glance, period_label: label },
                                  teams, {});
      assert.strictEqual(over.period, shown);
      assert.ok(over.final);
      assert.deepStrictEqual([over.clock, over.down, over.ballOn], ["", "", ""]);
      assert.ok(!over.home.possession && !over.visitor.possession);
    }
    const playing = ScoreBug.model(board, { ...glance, period_label: "OT" }, teams, {});
    assert.strictEqual(playing.period, "OT");
    assert.ok(!playing.final);
    assert.strictEqual(playing.clock, "4:07");
    assert.ok(playing.home.possession && !playing.visitor.possession);
  },

  "the ball's place names the half's team apart from the yard line"() {
    const place = (ballOn, names = teams) =>
      ScoreBug.model(board, { ...glance, ball_on: ballOn }, names, {}).ballOn;
    assert.strictEqual(place("AMW35"), "Ball on AMW 35");
    assert.strictEqual(place("KBM4"), "Ball on KBM 4");
    assert.strictEqual(place("50"), "Ball on 50");
    assert.strictEqual(place(""), "");
    // A short name that ends in a digit keeps it.
    const digits = { home: { short_name: "T2" }, visitor: { short_name: "T" } };
    assert.strictEqual(place("T235", digits), "Ball on T2 35");
  },

  "timeouts are 0 to 3 pips whatever number arrives, none when not told"() {
    const left = (value) =>
      ScoreBug.model(board, { ...glance, timeouts_left: { home: value } }, teams, {}).home.timeouts;
    assert.strictEqual(left(2), 2);
    assert.strictEqual(left(50000000), 3);
    assert.strictEqual(left(-4), 0);
    for (const unknown of [null, undefined, NaN, "2"]) assert.strictEqual(left(unknown), null);
  },

  "a long name is set smaller until it fits, never below the smallest size"() {
    const base = 46, smallest = 26;
    assert.strictEqual(ScoreBug.fittedFontSize(200, 240, base, smallest), base);
    for (const natural of [241, 300, 400, 600, 2000]) {
      const size = ScoreBug.fittedFontSize(natural, 240, base, smallest);
      assert.ok(size < base && size >= smallest, String(natural));
      if (size > smallest) assert.ok((natural * size) / base <= 240, String(natural));
    }
  },

  "a whole document gives the short names, the scores and the colours it carries"() {
    const team = (name, short) => ({ values: { Name: name, "Short Name": short } });
    const doc = { teams: [team("Kestrel Bay Mariners", "KBM"), team("Wardens", "")],
                  scoreboard: board, situation: glance,
                  colors: { home: "#ffd100", visitor: "#0b2265" } };
    const shown = ScoreBug.modelOfDocument(doc);
    assert.deepStrictEqual([shown.home.name, shown.visitor.name], ["KBM", "Wardens"]);
    assert.deepStrictEqual([shown.home.score, shown.visitor.score],
                           [String(board.home_score), String(board.visitor_score)]);
    assert.deepStrictEqual([shown.home.color, shown.visitor.color], ["#ffd100", "#0b2265"]);
  },
};

let failed = 0;
for (const [name, test] of Object.entries(tests)) {
  try {
    test();
  } catch (error) {
    ++failed;
    console.log("FAIL " + name + ": " + error.message);
  }
}
console.log(`${Object.keys(tests).length - failed} passed, ${failed} failed`);
process.exit(failed === 0 ? 0 : 1);
