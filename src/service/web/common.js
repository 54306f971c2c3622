"use strict";
// What both pages share: the token of the page's own address, the live
// connection (a snapshot, then changes merged in; reconnecting with back-off)
// from the service or, given ?mqtt=ws://HOST:PORT&topic=PREFIX, from an MQTT
// broker, and small helpers for the tables the service sends.
const Pylonix = (() => {
  const query = new URLSearchParams(location.search);
  const token = query.get("token");

  function withToken(path) {
    if (!token) return path;
    return path + (path.includes("?") ? "&" : "?") + "token=" + encodeURIComponent(token);
  }

  // {"$edits": [...]} stands for a member or table that changed a little: the
  // edits that turn the value held into the new one, in order. {"path": [...],
  // "set": V} puts V there; {"path": [...], "splice": [AT, COUNT, ITEMS]}
  // replaces COUNT items of the array there from AT by ITEMS.
  const edited = (value) => value !== null && typeof value === "object" && "$edits" in value;

  function applyEdits(value, edits) {
    for (const edit of edits) {
      const path = edit.path;
      if ("splice" in edit) {
        let target = value;
        for (const step of path) target = target[step];
        const [at, count, items] = edit.splice;
        target.splice(at, count, ...items);
      } else if (path.length === 0) {
        value = edit.set;
      } else {
        let parent = value;
        for (const step of path.slice(0, -1)) parent = parent[step];
        parent[path[path.length - 1]] = edit.set;
      }
    }
    return value;
  }

  // Tables are objects with "columns"; other objects of "pages" group them.
  function mergePages(target, changed) {
    for (const [key, value] of Object.entries(changed)) {
      if (value === null) delete target[key];
      else if (edited(value)) target[key] = applyEdits(target[key], value.$edits);
      else if (typeof value === "object" && !("columns" in value) &&
               typeof target[key] === "object" && target[key] !== null)
        mergePages(target[key], value);
      else target[key] = value;
    }
  }

  function apply(state, message) {
    for (const [key, value] of Object.entries(message.changed)) {
      if (key === "pages") mergePages(state.pages = state.pages || {}, value);
      else if (value === null) delete state[key];
      else if (edited(value)) state[key] = applyEdits(state[key], value.$edits);
      else state[key] = value;
    }
    state.seq = message.seq;
    if (message.updated) state.updated = message.updated;
  }

  // A change is made "from" the state of one seq; applied to any other it
  // would edit the wrong rows. True when it was applied.
  function applies(state, message) {
    if (!state || message.from !== state.seq) return false;
    try {
      apply(state, message);
      return true;
    } catch (error) {
      return false;
    }
  }

  // The same from the broker: PREFIX/snapshot holds the latest whole state
  // (retained) and PREFIX/changes what each publish changed. The snapshot is
  // read once (the broker hands its retained copy to each new subscriber),
  // then the changes; a change that cannot be applied to the state held, and
  // is newer than it, subscribes to the snapshot again. So does a program
  // started again, whose seq counts from 1 and whose first change is made
  // from none the page holds.
  function followBroker(url, prefix, onState, onStatus) {
    let state = null;
    const snapshotTopic = prefix + "/snapshot";
    const link = PylonixMqtt.connect(url, (topic, text) => {
      const message = JSON.parse(text);
      if (topic === snapshotTopic && message.snapshot) {
        link.unsubscribe(snapshotTopic);
        if (state && message.seq === state.seq && message.snapshot.updated === state.updated)
          return;
        const earlier = state;
        state = message.snapshot;
        onState(state, earlier ? {} : null);
      } else if (message.changed && state) {
        if (applies(state, message)) onState(state, message.changed);
        else if (message.seq !== state.seq && message.updated > state.updated)
          link.subscribe(snapshotTopic);
      }
    }, onStatus);
    link.subscribe(prefix + "/changes");
    link.subscribe(snapshotTopic);
  }

  // Calls onState(state, changed) with the whole state after each message
  // (changed null for a snapshot) and onStatus(connected) as the link comes
  // and goes. A lost connection is opened again, waiting longer each time;
  // the snapshot it starts with replaces whatever was held. A plain read of
  // /api/game shows the game while the socket is still opening.
  function follow(onState, onStatus) {
    if (query.get("mqtt") && query.get("topic"))
      return followBroker(query.get("mqtt"), query.get("topic"), onState, onStatus);
    let state = null;
    let delay = 500;
    fetch(withToken("/api/game"))
      .then((response) => (response.ok ? response.json() : null))
      .then((game) => {
        if (game && (!state || game.seq > state.seq)) {
          state = game;
          onState(state, null);
        }
      })
      .catch(() => {});
    function open() {
      const scheme = location.protocol === "https:" ? "wss://" : "ws://";
      const socket = new WebSocket(scheme + location.host + withToken("/api/live"));
      socket.onmessage = (event) => {
        const message = JSON.parse(event.data);
        if (message.snapshot) {
          state = message.snapshot;
          onState(state, null);
        } else if (message.changed && state && message.seq > state.seq) {
          // A change that cannot be applied: start again from a snapshot.
          if (applies(state, message)) onState(state, message.changed);
          else socket.close();
        }
        delay = 500;
      };
      socket.onopen = () => onStatus(true);
      socket.onclose = () => {
        onStatus(false);
        setTimeout(open, delay);
        delay = Math.min(delay * 2, 15000);
      };
    }
    open();
  }

  function element(tag, className, text) {
    const made = document.createElement(tag);
    if (className) made.className = className;
    if (text !== undefined) made.textContent = text;
    return made;
  }

  // A table of "pages" as an HTML table, cells coloured as the window colours them.
  function table(described, marked) {
    const out = element("table", "stats");
    if (!described) return out;
    const head = out.createTHead().insertRow();
    for (const column of described.columns) {
      const cell = element("th", "align-" + (column.align || "left"), column.header);
      head.appendChild(cell);
    }
    const body = out.createTBody();
    described.rows.forEach((row, index) => {
      const line = body.insertRow();
      if (marked && marked(index)) line.className = "new";
      for (const [i, cell] of row.cells.entries()) {
        const td = line.insertCell();
        td.textContent = cell.text;
        td.className = "align-" + ((described.columns[i] || {}).align || "left");
        if (cell.bold) td.style.fontWeight = "bold";
        if (cell.color && cell.color !== "#000000") td.style.color = cell.color;
        if (cell.background && cell.background !== "#ffffff") td.style.background = cell.background;
      }
    });
    return out;
  }

  function teamValue(state, side, label) {
    const team = (state.teams || [])[side];
    return team && team.values ? team.values[label] || "" : "";
  }

  // The team's colour as the drive chart draws its drives.
  function teamColor(state, side, fallback) {
    const items = (state.drive_chart && state.drive_chart.items) || [];
    const item = items.find((entry) => entry.team === side);
    return item ? item.fillColor : fallback;
  }

  function clock(scoreboard) {
    const seconds = String(scoreboard.seconds).padStart(2, "0");
    return scoreboard.minutes + ":" + seconds;
  }

  return { withToken, follow, element, table, teamValue, teamColor, clock };
})();
