"use strict";
// The broadcast score bug: each team's plate in its colour (short name,
// possession, timeouts left) beside its score, the period and the clock, and
// under them the down and distance and where the ball is; "FINAL" once the
// game is over. A score change flashes. What it shows is decided by `model`
// from four values alone, so that any source of them can feed the bug.
const ScoreBug = (() => {
  const maxTimeouts = 3;
  const fallbackColors = { home: "#1d4f91", visitor: "#a6192e" };
  const darkText = "#000000";
  const lightText = "#ffffff";
  const smallestName = 26; // px: below it a name is cut with an ellipsis instead
  const shownScores = {}; // the scores on the page, whose change flashes

  const validColor = (color) =>
    typeof color === "string" && /^#[0-9a-f]{6}$/i.test(color) ? color.toLowerCase() : null;

  // WCAG's relative luminance of "#rrggbb".
  function luminance(color) {
    const [r, g, b] = [1, 3, 5].map((at) => {
      const channel = parseInt(color.slice(at, at + 2), 16) / 255;
      return channel <= 0.03928 ? channel / 12.92 : Math.pow((channel + 0.055) / 1.055, 2.4);
    });
    return 0.2126 * r + 0.7152 * g + 0.0722 * b;
  }

  // WCAG's contrast ratio of two colours, from 1 to 21.
  function contrast(a, b) {
    const [light, dark] = [luminance(a), luminance(b)].sort((x, y) => y - x);
    return (light + 0.05) / (dark + 0.05);
  }

  // The text colour that reads best on `background`.
  function readableOn(background) {
    return contrast(background, lightText) >= contrast(background, darkText) ? lightText : darkText;
  }

  // "FINAL", "FINAL OT", "FINAL 2OT" once final; otherwise the period as
  // the situation names it ("1ST", "OT").
  function periodText(label, final) {
    if (!final) return label.toUpperCase();
    return ("FINAL " + label.replace(/^Final\/?/i, "")).trim().toUpperCase();
  }

  // "Ball on KBM 35" of the situation's "KBM35", "Ball on 50" at midfield:
  // the team's short name (one of `shortNames`) parted from the yard line.
  function ballOnText(ballOn, shortNames) {
    if (!ballOn) return "";
    const names = shortNames.filter((name) => name).sort((a, b) => b.length - a.length);
    for (const name of names) {
      const yard = ballOn.slice(name.length);
      if (ballOn.startsWith(name) && /^[0-9]+$/.test(yard)) return `Ball on ${name} ${yard}`;
    }
    const parts = /^(.*?)\s*([0-9]+)$/.exec(ballOn);
    return parts && parts[1] ? `Ball on ${parts[1]} ${parts[2]}` : `Ball on ${ballOn}`;
  }

  // The font size that fits a text `natural` pixels wide at `base` into
  // `available` pixels, never below `smallest` (the box cuts what is left).
  function fittedFontSize(natural, available, base, smallest) {
    if (natural <= available || natural <= 0) return base;
    return Math.max(smallest, Math.floor((base * available) / natural));
  }

  // What the bug shows, from `scoreboard` and `situation` as /api/situation
  // gives them, `teams` {home, visitor} each {name, short_name}, and
  // `colors` {home, visitor} as "#rrggbb" (the document's "colors").
  function model(scoreboard, situation, teams, colors) {
    const board = scoreboard || {};
    const glance = situation || {};
    const label = typeof glance.period_label === "string" ? glance.period_label : "";
    const final = board.final === true || /^Final/i.test(label);
    const team = (side) => (teams || {})[side] || {};
    const side = (which) => {
      const color = validColor((colors || {})[which]) || fallbackColors[which];
      const score = which === "home" ? board.home_score : board.visitor_score;
      const given = (glance.timeouts_left || {})[which];
      return {
        name: team(which).short_name || team(which).name || "",
        fullName: team(which).name || "",
        color,
        text: readableOn(color),
        score: Number.isFinite(score) ? String(score) : "",
        possession: !final && glance.possession === which,
        // One pip per timeout a team can have, whatever number arrives.
        timeouts: Number.isFinite(given) ? Math.max(0, Math.min(given, maxTimeouts)) : null,
      };
    };
    const live = !final && Number.isFinite(board.minutes) && Number.isFinite(board.seconds);
    return {
      visitor: side("visitor"),
      home: side("home"),
      final,
      period: periodText(label, final),
      clock: live ? Pylonix.clock(board) : "",
      down: final ? "" : glance.down_distance || "",
      ballOn: final
        ? ""
        : ballOnText(glance.ball_on || "", [team("home").short_name, team("visitor").short_name]),
    };
  }

  // The model of a whole document, as the service and the broker's snapshot give it.
  function modelOfDocument(state) {
    const names = (side) => ({
      name: Pylonix.teamValue(state, side, "Name"),
      short_name: Pylonix.teamValue(state, side, "Short Name"),
    });
    return model(state.scoreboard, state.situation, { home: names(0), visitor: names(1) },
                 state.colors);
  }

  // Puts `view` (a model) on the page.
  function render(view) {
    const $ = (id) => document.getElementById(id);
    for (const side of ["visitor", "home"]) {
      const shown = view[side];
      const team = $(side);
      team.style.setProperty("--plate", shown.color);
      team.style.setProperty("--plate-text", shown.text);
      const name = $(side + "-name");
      name.textContent = shown.name;
      name.title = shown.fullName;
      name.style.fontSize = "";
      const base = parseFloat(getComputedStyle(name).fontSize);
      const size = fittedFontSize(name.scrollWidth, name.clientWidth, base, smallestName);
      if (size !== base) name.style.fontSize = size + "px";
      $(side + "-ball").classList.toggle("on", shown.possession);
      const timeouts = $(side + "-timeouts");
      timeouts.replaceChildren();
      for (let i = 0; shown.timeouts !== null && i < maxTimeouts; ++i)
        timeouts.appendChild(Pylonix.element("i", i < shown.timeouts ? "" : "used"));
      timeouts.dataset.left = shown.timeouts === null ? "" : shown.timeouts;
      $(side + "-score").textContent = shown.score;
      if (side in shownScores && shownScores[side] !== shown.score) flash(team);
      shownScores[side] = shown.score;
    }
    $("period").textContent = view.period;
    $("clock").textContent = view.clock;
    $("state").classList.toggle("final", view.final);
    $("down").textContent = view.down;
    $("ball-on").textContent = view.ballOn;
    $("strip").classList.toggle("empty", !view.down && !view.ballOn);
    $("bug").classList.remove("waiting");
  }

  function flash(team) {
    team.classList.remove("flash");
    void team.offsetWidth; // restarts the animation
    team.classList.add("flash");
    setTimeout(() => team.classList.remove("flash"), 1800);
  }

  function start() {
    Pylonix.follow((state) => render(modelOfDocument(state)), () => {});
  }

  return { model, modelOfDocument, render, start };
})();

if (typeof document !== "undefined") ScoreBug.start();
