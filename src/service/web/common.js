"use strict";
// What both pages share: the token of the page's own address, the live
// connection (a snapshot, then JSON Patches applied; reconnecting with back-off)
// from the service or, given ?mqtt=ws://HOST:PORT&topic=PREFIX, from an MQTT
// broker, and small helpers for the tables the service sends.
const Pylonix = (() => {
  const query = new URLSearchParams(location.search);
  const token = query.get("token");

  function withToken(path) {
    if (!token) return path;
    return path + (path.includes("?") ? "&" : "?") + "token=" + encodeURIComponent(token);
  }

  // RFC 6902 JSON Patch: the operations of `patch` done on `doc` in order.
  // Returns the patched document (`doc` itself, changed, unless the root is
  // replaced); throws on an operation that cannot be done, leaving `doc`
  // part-way.
  function applyPatch(doc, patch) {
    if (!Array.isArray(patch)) throw new Error("a patch is an array");
    for (const op of patch) doc = applyOperation(doc, op);
    return doc;
  }

  // A JSON Pointer (RFC 6901) as its steps.
  function steps(path) {
    if (typeof path !== "string" || (path !== "" && path[0] !== "/") || /~[^01]|~$/.test(path))
      throw new Error("not a JSON Pointer: " + path);
    return path === "" ? [] : path.slice(1).split("/").map(
        (step) => step.replace(/~1/g, "/").replace(/~0/g, "~"));
  }

  const has = (object, key) => Object.prototype.hasOwnProperty.call(object, key);
  const isContainer = (value) => value !== null && typeof value === "object";

  // An array index: digits without leading zeros, below `limit`.
  function index(step, limit) {
    if (!/^(0|[1-9][0-9]*)$/.test(step) || Number(step) >= limit)
      throw new Error("no index " + step);
    return Number(step);
  }

  function child(node, step) {
    if (Array.isArray(node)) return node[index(step, node.length)];
    if (isContainer(node) && has(node, step)) return node[step];
    throw new Error("nothing at " + step);
  }

  function get(doc, path) {
    return steps(path).reduce(child, doc);
  }

  function equal(a, b) {
    if (!isContainer(a) || !isContainer(b)) return a === b;
    if (Array.isArray(a) !== Array.isArray(b)) return false;
    const keys = Object.keys(a);
    if (keys.length !== Object.keys(b).length) return false;
    return keys.every((key) => has(b, key) && equal(a[key], b[key]));
  }

  // The container of the last step and that step, for add, remove and replace.
  function parentOf(doc, path) {
    const all = steps(path);
    const last = all.pop();
    const parent = all.reduce(child, doc);
    if (!isContainer(parent)) throw new Error("no container at " + path);
    return [parent, last];
  }

  function add(doc, path, value) {
    if (path === "") return value;
    const [parent, last] = parentOf(doc, path);
    if (Array.isArray(parent))
      parent.splice(last === "-" ? parent.length : index(last, parent.length + 1), 0, value);
    else // defined, not assigned: "__proto__" is a member name like any other
      Object.defineProperty(parent, last,
                            { value, writable: true, enumerable: true, configurable: true });
    return doc;
  }

  function remove(doc, path) {
    if (path === "") throw new Error("the root cannot be removed");
    const [parent, last] = parentOf(doc, path);
    if (Array.isArray(parent)) parent.splice(index(last, parent.length), 1);
    else if (has(parent, last)) delete parent[last];
    else throw new Error("nothing at " + path);
    return doc;
  }

  function needs(op, member) {
    if (!has(op, member)) throw new Error(op.op + " without " + member);
    return op[member];
  }

  function applyOperation(doc, op) {
    const path = needs(op, "path");
    switch (op.op) {
      case "add":
        return add(doc, path, needs(op, "value"));
      case "remove":
        return remove(doc, path);
      case "replace": {
        const value = needs(op, "value");
        if (path === "") return value;
        get(doc, path);
        return add(remove(doc, path), path, value);
      }
      case "move": {
        const from = needs(op, "from");
        const value = get(doc, from);
        if (path.startsWith(from + "/")) throw new Error("a value cannot move into itself");
        if (from === path) return doc;
        return add(remove(doc, from), path, value);
      }
      case "copy":
        return add(doc, path, JSON.parse(JSON.stringify(get(doc, needs(op, "from")))));
      case "test":
        if (!equal(get(doc, path), needs(op, "value"))) throw new Error("test failed at " + path);
        return doc;
      default:
        throw new Error("unknown operation " + op.op);
    }
  }

  // A change is made "from" the state of one seq; applied to any other it
  // would patch the wrong rows. The patched state, with the change's number
  // and time; null when the patch cannot be applied, the state held then
  // being of no more use.
  function patched(state, message) {
    try {
      const next = applyPatch(state, message.patch);
      next.seq = message.seq;
      next.updated = message.updated;
      return next;
    } catch (error) {
      return null;
    }
  }

  // The same from the broker. PREFIX/situation holds the glance a score bug
  // shows; PREFIX/snapshot a whole state and PREFIX/catchup/1..N the patches
  // that bring it to the latest one, each made "from" the seq the one before
  // ends at (all retained); PREFIX/changes what each publish changed. A page
  // joins by applying the snapshot and its catch-ups once they agree (the
  // broker hands its retained copies to each new subscriber and the live ones
  // follow, so they come to agree), then applies the changes that came
  // meanwhile and those after. A change made from another state than the one
  // held, and newer than it, or a patch that fails, joins again; so does a
  // program started again, whose seq counts from 1. Until the first whole
  // state is there, the situation is shown in its place.
  function followBroker(url, prefix, onState, onStatus) {
    let state = null; // the whole state, once joined
    let shown = false; // a whole state was shown
    let parts = {}; // while joining: the snapshot and the catch-ups, by level
    let waiting = []; // while joining: the changes that came
    const situationTopic = prefix + "/situation";
    const joinTopics = [prefix + "/snapshot", prefix + "/catchup/+"];

    function join() {
      state = null;
      parts = {};
      waiting = [];
      for (const topic of joinTopics) link.subscribe(topic);
      link.hurry(true);
    }

    function tryJoin() {
      const base = parts[0];
      if (!base || !base.snapshot) return;
      let seq = base.seq;
      const chain = [];
      for (let level = 1; level <= (base.catchups || 0); ++level) {
        const step = parts[level];
        if (!step || step.from !== seq) return;
        chain.push(step);
        seq = step.seq;
      }
      let next = base.snapshot;
      for (const step of chain) {
        next = patched(next, step);
        if (!next) return join();
      }
      for (const topic of joinTopics) link.unsubscribe(topic);
      link.unsubscribe(situationTopic);
      link.hurry(false);
      for (const change of waiting) {
        if (change.from === next.seq) next = patched(next, change);
        if (!next) return join();
      }
      parts = {};
      waiting = [];
      state = next;
      onState(state, shown ? {} : null);
      shown = true;
    }

    const link = PylonixMqtt.connect(url, (topic, text) => {
      const message = JSON.parse(text);
      if (topic === situationTopic) {
        if (!shown) onState(message, null);
      } else if (topic === joinTopics[0]) {
        parts[0] = message;
        tryJoin();
      } else if (topic.startsWith(prefix + "/catchup/")) {
        parts[Number(topic.slice(prefix.length + 9))] = message;
        tryJoin();
      } else if (message.patch && !state) {
        waiting.push(message);
        if (waiting.length > 100) waiting.shift();
      } else if (message.patch && message.from === state.seq) {
        state = patched(state, message);
        if (state) onState(state, message.patch);
        else join();
      } else if (message.patch && message.seq !== state.seq && message.updated > state.updated) {
        join();
      }
    }, onStatus);
    // One subscription, in this order: the broker sends the small situation
    // before the rest.
    link.subscribe([situationTopic, prefix + "/changes", ...joinTopics]);
    join();
  }

  // Calls onState(glance) with each situation the game's source sends: from
  // a broker only PREFIX/situation (a few kilobytes), read alone; from the
  // service the whole state, as follow gives it.
  function followSituation(onState, onStatus) {
    if (!query.get("mqtt") || !query.get("topic"))
      return follow(onState, onStatus);
    const topic = query.get("topic") + "/situation";
    PylonixMqtt.connect(query.get("mqtt"), (from, text) => {
      if (from === topic) onState(JSON.parse(text), null);
    }, onStatus).subscribe(topic);
  }

  // Calls onState(state, patch) with the whole state after each message
  // (patch null for a snapshot) and onStatus(connected) as the link comes
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
        } else if (message.patch && state && message.seq > state.seq) {
          // A change that cannot be applied: start again from a snapshot.
          state = message.from === state.seq ? patched(state, message) : null;
          if (state) onState(state, message.patch);
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

  return {
    withToken, follow, followSituation, applyPatch, element, table, teamValue, teamColor, clock,
  };
})();
