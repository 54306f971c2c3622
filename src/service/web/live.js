"use strict";
// The live statistics page, phone first: a compact header with the score and
// the situation that stays at the top, then the line score, scoring, leaders,
// team comparison, drives, each team's tables and the play-by-play, visitor
// first throughout. A new message never moves what the reader looks at; the
// plays it added are marked.

// What the page decides from the document, apart from the page itself.
const PylonixLive = (() => {
  const sides = ["visitor", "home"]; // the order the page shows the teams in

  // The badge: the final period label ("Final", "Final/OT") once the game is
  // over, else whether the page follows the game.
  function badge(state, connected) {
    const board = (state && state.scoreboard) || {};
    const label = (state && state.situation && state.situation.period_label) || "Final";
    if (board.final) return { text: label, className: "final" };
    return connected ? { text: "live", className: "" } : { text: "reconnecting", className: "offline" };
  }

  // "4th 2:35" while the game goes on; nothing once final (the badge says it).
  function periodClock(state) {
    const board = state.scoreboard || {};
    if (board.final) return "";
    const label = (state.situation || {}).period_label || "";
    const seconds = String(board.seconds === undefined ? "" : board.seconds).padStart(2, "0");
    return (label + " " + (board.minutes === undefined ? "" : board.minutes + ":" + seconds)).trim();
  }

  // The team's player tables open where there is room for them; on a phone
  // they start closed, leaving the page short.
  function tablesOpen(width) {
    return width >= 800;
  }

  // A table of two team columns (home first, as the window shows it) with
  // the visitor's column first.
  function visitorFirst(described) {
    if (!described || described.columns.length !== 3) return described;
    const order = [0, 2, 1];
    return {
      columns: order.map((i) => described.columns[i]),
      rows: described.rows.map((row) => ({ ...row, cells: order.map((i) => row.cells[i] || { text: "" }) })),
    };
  }

  // The parts of one play as the list shows them.
  function playParts(play, shortNames) {
    const team = play.team ? shortNames[play.team] || "" : "";
    const meta = [team, play.down_distance, play.spot ? "at " + play.spot : ""].filter(Boolean);
    return {
      side: play.team || "",
      meta: meta.join(" \u00B7 "),
      clock: play.clock || "",
      text: play.text || "",
      code: (play.code || "") + (play.code ? play.yards || "" : ""),
      first: /^[RPX]$/.test(play.code || ""),
      heading: "",
    };
  }

  // Every play's parts, the first play of each quarter carrying its heading.
  function playList(plays, shortNames) {
    let quarter = null;
    return (plays || []).map((play) => {
      const parts = playParts(play, shortNames);
      if (play.quarter !== quarter) parts.heading = quarterHeading(play.quarter);
      quarter = play.quarter;
      return parts;
    });
  }

  function quarterHeading(quarter) {
    const number = Number(quarter);
    if (!Number.isInteger(number) || number < 1) return "Quarter " + quarter;
    if (number > 4) return number === 5 ? "Overtime" : "Overtime " + (number - 4);
    return ["1st", "2nd", "3rd", "4th"][number - 1] + " quarter";
  }

  // The index of the first play a message added: all of them after `shown`
  // plays, none for a snapshot (a page opened or reconnected marks nothing).
  function firstNew(shown, count, snapshot) {
    if (snapshot || shown === null) return count;
    return Math.min(shown, count);
  }

  // The leaders of one category as rows of a table, visitor first, each
  // name with its team's short name.
  function leaderTable(category, shortNames) {
    const columns = [{ header: category.title, align: "left" }]
        .concat(category.columns.map((header) => ({ header, align: "right" })));
    const rows = [];
    for (const side of sides) {
      for (const leader of category[side] || []) {
        rows.push({ side, cells: [{ text: shortNames[side] + " " + leader.name }]
            .concat(leader.values.map((text) => ({ text }))) });
      }
    }
    return { columns, rows };
  }

  // The drive summary: team, quarter, start (clock, how, spot), result,
  // plays and yards, time of possession.
  function driveTable(drives, shortNames) {
    const header = ["Team", "Qtr", "Start", "How", "Result", "Plays-Yds", "TOP"];
    const align = ["left", "right", "right", "left", "left", "right", "right"];
    return {
      columns: header.map((text, i) => ({ header: text, align: align[i] })),
      rows: (drives || []).map((drive) => ({
        side: drive.team,
        cells: [shortNames[drive.team] || "", drive.quarter, drive.clock,
                [drive.start, drive.spot].filter(Boolean).join(" "), drive.end,
                drive.plays_yards, drive.top].map((text) => ({ text: text || "" })),
      })),
    };
  }

  // The scoring table as list items: when, who, how, the drive and the
  // score after it, visitor first ("AMW 7 - KBM 0"); the table's score is
  // home first.
  function scoringItems(table, shortNames, teamNames) {
    if (!table) return [];
    const at = (name) => table.columns.findIndex((column) => column.header === name);
    const [team, quarter, time, play, drive, top, score] =
        ["Team", "Qtr", "Time", "Play", "Drive", "TOP", "Score"].map(at);
    const cell = (row, i) => (i >= 0 && row.cells[i] ? row.cells[i].text || "" : "");
    return table.rows.map((row) => {
      const points = cell(row, score).split("-");
      const scorer = cell(row, team);
      const side = scorer === teamNames.home || scorer === shortNames.home ? "home" : "visitor";
      return {
        side,
        when: ("Q" + cell(row, quarter) + " " + cell(row, time)).trim(),
        team: scorer,
        text: cell(row, play),
        drive: [cell(row, drive), cell(row, top)].filter(Boolean).join(", "),
        score: points.length === 2
            ? shortNames.visitor + " " + points[1] + " - " + shortNames.home + " " + points[0]
            : cell(row, score),
      };
    });
  }

  // The tables of each page in the order the window shows them.
  const pageTables = [
    ["offense", "Offense", ["passing", "rushing", "receiving"]],
    ["defense", "Defense", ["defense"]],
    ["special_teams", "Special teams", ["field_goals", "punting", "kickoffs", "kick_returns",
                                        "punt_returns", "int_returns", "fumble_returns"]],
  ];

  // "kick_returns" as a title: "Kick returns".
  const titleOf = (name) => name.charAt(0).toUpperCase() + name.slice(1).replace(/_/g, " ");

  // Each team's player tables by page, visitor first: the tables somebody is
  // listed in (a table of nobody has only rows without data), in the
  // window's order, each titled in its first column (where the window
  // names the team).
  function teamTables(pages) {
    const out = [];
    for (const side of sides) {
      const groups = [];
      for (const [key, title, order] of pageTables) {
        const tables = ((pages || {})[key] || {})[side] || {};
        const names = order.filter((name) => name in tables)
            .concat(Object.keys(tables).filter((name) => !order.includes(name)));
        const listed = names
            .filter((name) => tables[name].rows.some((row) => row.data === undefined || row.data >= 0))
            .map((name) => {
              const table = tables[name];
              const columns = table.columns.map((column, i) =>
                  (i === 0 ? { ...column, header: titleOf(name) } : column));
              return { name, table: { ...table, columns } };
            });
        groups.push({ key, title, tables: listed });
      }
      out.push({ side, groups });
    }
    return out;
  }

  return { sides, badge, periodClock, tablesOpen, visitorFirst, playParts, playList,
           firstNew, leaderTable, driveTable, scoringItems, teamTables };
})();

if (typeof document !== "undefined") (() => {
  const $ = (id) => document.getElementById(id);
  const el = Pylonix.element;
  let playsShown = null; // plays shown before the latest message
  let connected = false;
  let current = null;

  function names(state, label) {
    return { home: Pylonix.teamValue(state, 0, label), visitor: Pylonix.teamValue(state, 1, label) };
  }

  function scrolling(table) {
    const box = el("div", "scroll");
    box.appendChild(table);
    return box;
  }

  function sideTable(described) {
    const table = Pylonix.table(described);
    described.rows.forEach((row, i) => { if (row.side) table.tBodies[0].rows[i].classList.add(row.side); });
    return table;
  }

  function showBadge() {
    const shown = PylonixLive.badge(current, connected);
    $("status").textContent = shown.text;
    $("status").className = shown.className;
  }

  function showHeader(state) {
    const board = state.scoreboard || {};
    const situation = state.situation || {};
    const full = names(state, "Name");
    const short = names(state, "Short Name");
    for (const side of PylonixLive.sides) {
      $(side + "-name").textContent = full[side];
      $(side + "-short").textContent = short[side];
      $(side + "-score").textContent = side === "home" ? board.home_score : board.visitor_score;
      $(side + "-ball").textContent = !board.final && situation.possession === side ? "\u25C0" : "";
      $(side).classList.toggle("possession", !board.final && situation.possession === side);
    }
    $("period-clock").textContent = PylonixLive.periodClock(state);
    $("down-distance").textContent = board.final ? "" : situation.down_distance || "";
    $("ball-on").textContent = !board.final && situation.ball_on ? "ball on " + situation.ball_on : "";
    $("last-play").textContent = situation.last_play || "";
    showBadge();
  }

  function showLineScore(state) {
    const line = (state.situation || {}).line_score;
    if (!line) return $("line-score").replaceChildren();
    const columns = [{ header: "", align: "left" }]
        .concat(line.periods.map((period) => ({ header: period, align: "right" })))
        .concat([{ header: "T", align: "right" }]);
    const row = (index, points, total) => ({
      cells: [{ text: Pylonix.teamValue(state, index, "Name") }]
          .concat(points.map((value) => ({ text: String(value) })))
          .concat([{ text: String(total), bold: true }]),
    });
    $("line-score").replaceChildren(Pylonix.table({ columns, rows: [
      row(1, line.visitor, line.visitor_total), row(0, line.home, line.home_total)] }));
  }

  function showScoring(state) {
    const items = PylonixLive.scoringItems((state.pages || {}).scoring, names(state, "Short Name"),
                                           names(state, "Name"));
    $("scoring").replaceChildren(...items.map((item) => {
      const li = el("li", item.side);
      li.append(el("span", "when", item.when), el("b", "scorer", item.team), el("span", "text", item.text),
                el("span", "drive", item.drive), el("b", "points", item.score));
      return li;
    }));
    if (!items.length) $("scoring").appendChild(el("li", "none", "No score yet"));
  }

  function showLeaders(state) {
    const short = names(state, "Short Name");
    $("leaders").replaceChildren(...(state.leaders || []).map(
        (category) => scrolling(sideTable(PylonixLive.leaderTable(category, short)))));
  }

  // The team tables' frames are made once, so that a reader's open or
  // closed sections stay as they are; their tables are filled anew.
  function showTeamTables(state) {
    const short = names(state, "Short Name");
    for (const team of PylonixLive.teamTables(state.pages)) {
      for (const group of team.groups) {
        const id = "tables-" + team.side + "-" + group.key;
        let frame = $(id);
        if (!frame) {
          frame = el("details", "tables " + team.side);
          frame.id = id;
          frame.open = PylonixLive.tablesOpen(window.innerWidth);
          frame.appendChild(el("summary"));
          frame.appendChild(el("div", "body"));
          $("players").appendChild(frame);
        }
        frame.querySelector("summary").textContent = short[team.side] + " " + group.title.toLowerCase();
        const body = frame.querySelector(".body");
        body.replaceChildren();
        for (const { table } of group.tables) body.appendChild(scrolling(Pylonix.table(table)));
        if (!group.tables.length) body.appendChild(el("p", "none", "Nobody listed yet"));
      }
    }
  }

  // The play-by-play: rows are kept and changed in place, new ones added at
  // the end, so that a play the reader looks at stays where it is.
  function showPlays(state, snapshot) {
    const list = PylonixLive.playList(state.plays, names(state, "Short Name"));
    const holder = $("plays");
    const start = PylonixLive.firstNew(playsShown, list.length, snapshot);
    while (holder.children.length > list.length) holder.lastElementChild.remove();
    for (const row of holder.querySelectorAll(".play.new")) row.classList.remove("new");
    list.forEach((parts, i) => {
      const signature = JSON.stringify(parts);
      let row = holder.children[i];
      if (!row) row = holder.appendChild(el("div"));
      if (row.dataset.signature !== signature) {
        row.dataset.signature = signature;
        row.className = "play " + parts.side + (parts.first ? " first" : "");
        if (parts.heading) row.dataset.heading = parts.heading;
        else delete row.dataset.heading;
        row.replaceChildren(el("span", "meta", parts.meta), el("span", "clock", parts.clock),
                            el("span", "text", parts.text), el("span", "code", parts.code));
      }
      if (i >= start) row.classList.add("new");
    });
    playsShown = list.length;
  }

  // What the reader looks at: the play in the middle of the screen below
  // the header, once the play-by-play is there; else the section there (in
  // the middle column where sections stand side by side); and where it is
  // on the screen.
  function anchor() {
    if (window.scrollY <= 0) return null;
    const header = $("game").getBoundingClientRect().bottom;
    const line = (header + window.innerHeight) / 2;
    let node = null;
    if ($("plays-section").getBoundingClientRect().top <= line) {
      const rows = $("plays").children;
      let low = 0, high = rows.length;
      while (low < high) {
        const middle = (low + high) >> 1;
        if (rows[middle].getBoundingClientRect().bottom > line) high = middle;
        else low = middle + 1;
      }
      node = low < rows.length ? rows[low] : $("plays-section");
    } else {
      const there = document.elementFromPoint(window.innerWidth / 2, line);
      node = there && there.closest("main section");
      if (!node) {
        node = Array.from(document.querySelectorAll("main section"))
            .find((section) => section.getBoundingClientRect().bottom > line);
      }
    }
    return node ? { node, top: node.getBoundingClientRect().top } : null;
  }

  function keep(held) {
    if (!held || !held.node.isConnected) return;
    const moved = held.node.getBoundingClientRect().top - held.top;
    if (moved) window.scrollBy(0, moved);
  }

  function show(state, patch) {
    current = state;
    const held = anchor();
    const pages = state.pages || {};
    showHeader(state);
    showLineScore(state);
    showScoring(state);
    showLeaders(state);
    $("team-stats").replaceChildren(Pylonix.table(PylonixLive.visitorFirst(pages.team_stats)));
    $("drives").replaceChildren(
        sideTable(PylonixLive.driveTable(state.drives, names(state, "Short Name"))));
    showTeamTables(state);
    showPlays(state, patch === null);
    keep(held);
  }

  function status(isConnected) {
    connected = isConnected;
    showBadge();
  }

  Pylonix.follow(show, status);
})();
