"use strict";
// The broadcast score bug: short names, team colours, score, period, clock,
// down and distance, possession and timeouts left; a score change flashes.
(() => {
  const $ = (id) => document.getElementById(id);
  const sides = { home: 0, visitor: 1 };
  const fallbackColors = { home: "#2f6fd6", visitor: "#c8372d" };
  const shownScores = {};
  const maxTimeouts = 3;

  function flash(id) {
    const team = $(id);
    team.classList.remove("flash");
    void team.offsetWidth; // restarts the animation
    team.classList.add("flash");
    setTimeout(() => team.classList.remove("flash"), 1800);
  }

  function showTeam(state, side) {
    const board = state.scoreboard || {};
    const situation = state.situation || {};
    const score = side === "home" ? board.home_score : board.visitor_score;
    $(side + "-name").textContent = Pylonix.teamValue(state, sides[side], "Short Name");
    $(side + "-score").textContent = score === undefined ? "" : score;
    $(side).querySelector(".stripe").style.background =
        Pylonix.teamColor(state, sides[side], fallbackColors[side]);
    $(side + "-ball").textContent = situation.possession === side ? "\u25C0" : "";
    const given = (situation.timeouts_left || {})[side];
    // One mark per timeout a team can have, whatever number arrives.
    const left = typeof given === "number" ? Math.max(0, Math.min(given, maxTimeouts)) : null;
    const timeouts = $(side + "-timeouts");
    timeouts.replaceChildren();
    if (left !== null) {
      for (let i = 0; i < maxTimeouts; ++i)
        timeouts.appendChild(Pylonix.element("i", i < left ? "" : "used"));
    }
    timeouts.dataset.left = left === null ? "" : left;
    if (side in shownScores && shownScores[side] !== score) flash(side);
    shownScores[side] = score;
  }

  function show(state) {
    const board = state.scoreboard || {};
    const situation = state.situation || {};
    showTeam(state, "visitor");
    showTeam(state, "home");
    $("period").textContent = situation.period_label || "";
    $("clock").textContent = board.final ? "" : Pylonix.clock(board);
    $("down").textContent = board.final ? "" : situation.down_distance || "";
    $("bug").classList.remove("waiting");
  }

  Pylonix.followSituation(show, () => {});
})();
