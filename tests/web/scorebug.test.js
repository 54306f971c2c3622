"use strict";
// The score bug's decisions, which need no browser (web/scorebug.js on web/common.js).
// node scorebug.test.js COMMON_JS SCOREBUG_JS
const assert = require("assert");
const fs = require("fs");

const [common, scorebug] = process.argv.slice(2);
globalThis.location = { search: "" }; // the page reads its address on load
const ScoreBug = new Function(
    fs.readFileSync(common, "utf8") + fs.readFileSync(scorebug, "utf8") + "\nreturn ScoreBug;")();
const teams = { home: { short_name: "KBM" }, visitor: { short_name: "T2" } };
const board = { home_score: 21, visitor_score: 17, minutes: 4, seconds: 7, final: false };
const glance = { period_label: "4th", possession: "home", down_distance: "3rd & 7",
                 ball_on: "T235", timeouts_left: { home: 50000000, visitor: -1 } };
const model = (b, g, colors) =>
  ScoreBug.model({ ...board, ...b }, { ...glance, ...g }, teams, colors);

// Any plate colour gets the text of the higher WCAG contrast, at least 4.5:1
// (worked out here apart from the page's own).
const luminance = (hex) => [1, 3, 5].map((i) => parseInt(hex.slice(i, i + 2), 16) / 255)
    .map((v) => (v <= 0.03928 ? v / 12.92 : ((v + 0.055) / 1.055) ** 2.4))
    .reduce((sum, v, i) => sum + v * [0.2126, 0.7152, 0.0722][i], 0);
const ratio = (a, b) => (Math.max(luminance(a), luminance(b)) + 0.05) /
                        (Math.min(luminance(a), luminance(b)) + 0.05);
for (let n = 0; n < 216; ++n) {
  const color = "#" + [36, 6, 1].map((d) => (Math.floor(n / d) % 6 * 51).toString(16))
      .map((hex) => hex.padStart(2, "0")).join("");
  const plate = model({}, {}, { home: color.toUpperCase() }).home;
  assert.strictEqual(plate.color, color);
  const other = plate.text === "#ffffff" ? "#000000" : "#ffffff";
  assert.ok(ratio(color, plate.text) >= Math.max(4.5, ratio(color, other)), color);
}
// Anything but #rrggbb leaves the defaults, which tell the teams apart.
const fallback = model({}, {}, { home: "url(x)", visitor: "#12345" });
assert.strictEqual(fallback.home.color, model().home.color);
assert.notStrictEqual(fallback.home.color, fallback.visitor.color);
// Playing: the clock, the ball's team apart from the yard line (a short name
// may end in a digit), 0 to 3 timeouts whatever number arrives.
const playing = model();
assert.deepStrictEqual([playing.period, playing.clock, playing.down, playing.ballOn],
                       ["4TH", "4:07", "3rd & 7", "Ball on T2 35"]);
assert.deepStrictEqual([playing.home.timeouts, playing.visitor.timeouts, playing.home.possession],
                       [3, 0, true]);
assert.strictEqual(model({}, { ball_on: "50", timeouts_left: {} }).ballOn, "Ball on 50");
assert.strictEqual(model({}, { timeouts_left: { home: "2" } }).home.timeouts, null);
// Over: FINAL with its overtimes, nothing of a play going on.
for (const [label, shown] of [["Final", "FINAL"], ["Final/OT", "FINAL OT"],
                              ["Final/2OT", "FINAL 2OT"]]) {
  const over = model({ final: true }, { period_label: label });
  assert.deepStrictEqual([over.period, over.clock, over.down, over.ballOn, over.home.possession],
                         [shown, "", "", "", false]);
}
console.log("the score bug's decisions hold");
