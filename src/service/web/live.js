"use strict";
// The live statistics page: scoreboard, line score, situation, team
// comparison, scoring, leaders and the play-by-play, with the plays that
// arrived since the last message marked.
(() => {
  const $ = (id) => document.getElementById(id);
  let playsShown = null; // play-by-play rows shown before the latest message

  function showScoreboard(state) {
    const board = state.scoreboard || {};
    const situation = state.situation || {};
    for (const [side, index] of [["home", 0], ["visitor", 1]]) {
      const name = $(side + "-name");
      name.textContent = Pylonix.teamValue(state, index, "Name");
      name.classList.toggle("possession", situation.possession === side);
      $(side + "-score").textContent = side === "home" ? board.home_score : board.visitor_score;
    }
    const parts = [situation.period_label];
    if (!board.final) parts.push(Pylonix.clock(board), situation.down_distance,
                                 situation.ball_on ? "ball on " + situation.ball_on : "");
    $("situation-line").textContent = parts.filter(Boolean).join("  \u00B7  ");
    $("last-play").textContent = situation.last_play || "";
  }

  function showLineScore(state) {
    const line = (state.situation || {}).line_score;
    const holder = $("line-score");
    if (!line) return holder.replaceChildren();
    const columns = [{ header: "", align: "left" }]
        .concat(line.periods.map((period) => ({ header: period, align: "right" })))
        .concat([{ header: "T", align: "right" }]);
    const row = (index, points, total) => ({
      cells: [{ text: Pylonix.teamValue(state, index, "Short Name") }]
          .concat(points.map((value) => ({ text: String(value) })))
          .concat([{ text: String(total), bold: true }]),
    });
    holder.replaceChildren(Pylonix.table({ columns, rows: [
      row(1, line.visitor, line.visitor_total), row(0, line.home, line.home_total)] }));
  }

  function showLeaders(state) {
    const offense = (state.pages || {}).offense || {};
    const holder = $("leaders");
    holder.replaceChildren();
    for (const side of ["visitor", "home"]) {
      for (const kind of ["passing", "rushing", "receiving"]) {
        const described = (offense[side] || {})[kind];
        if (!described) continue;
        holder.appendChild(Pylonix.element("h3", "", described.columns[0].header + " " + kind));
        holder.appendChild(Pylonix.table(described));
      }
    }
  }

  function show(state, patch) {
    const pages = state.pages || {};
    showScoreboard(state);
    showLineScore(state);
    $("team-stats").replaceChildren(Pylonix.table(pages.team_stats));
    $("scoring").replaceChildren(Pylonix.table(pages.scoring));
    showLeaders(state);
    const plays = pages.play_by_play;
    const count = plays ? plays.rows.length : 0;
    const before = patch === null ? count : playsShown;
    $("play-by-play").replaceChildren(Pylonix.table(plays, (index) => index >= before));
    playsShown = count;
    const newest = document.querySelector("#play-by-play tr.new");
    if (newest && patch) newest.scrollIntoView({ block: "nearest" });
  }

  function status(connected) {
    $("status").textContent = connected ? "live" : "reconnecting";
    $("status").classList.toggle("offline", !connected);
  }

  Pylonix.follow(show, status);
})();
