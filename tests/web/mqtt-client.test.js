"use strict";
// The pages' MQTT client (web/mqtt.js) against a real mosquitto that the test
// starts with a WebSockets listener: it connects, subscribes, gets the
// retained message, and after the broker restarts connects again,
// subscribed as before; filters with '+' take the topics they name.
// node mqtt-client.test.js MQTT_JS NODE_MODULES MOSQUITTO
const { spawn } = require("child_process");
const fs = require("fs");
const net = require("net");
const os = require("os");
const path = require("path");

const [script, modules, mosquitto] = process.argv.slice(2);
if (!fs.existsSync(path.join(modules, "ws"))) {
  console.log("skipped: ws was not fetched (the npm registry was out of reach)");
  process.exit(77);
}
// Node has no WebSocket of its own before 22. Like a browser's, this one's
// error without a handler (a refused reconnection) is no exception.
const NodeWebSocket = require(path.join(modules, "ws"));
globalThis.WebSocket = class extends NodeWebSocket {
  constructor(...args) {
    super(...args);
    this.on("error", () => {});
  }
};
const PylonixMqtt = new Function(fs.readFileSync(script, "utf8") + "\nreturn PylonixMqtt;")();

const freePort = () => new Promise((resolve) => {
  const probe = net.createServer().listen(0, "127.0.0.1", () => {
    const { port } = probe.address();
    probe.close(() => resolve(port));
  });
});

// Resolves once `check` holds, looked at whenever the client reports
// something; fails after ten seconds.
let reported = () => {};
const until = (what, check) => new Promise((resolve, reject) => {
  const timer = setTimeout(() => reject(new Error("timed out waiting for " + what)), 10000);
  reported = () => check() && (clearTimeout(timer), resolve());
  reported();
});

// The plain listener is for the test's own publishing; it comes first, as
// mosquitto 2.0.11 starts none when a WebSockets listener is its only one.
async function startBroker(config, plain, webSockets) {
  fs.writeFileSync(config, `listener ${plain} 127.0.0.1\nlistener ${webSockets} 127.0.0.1\n` +
                           "protocol websockets\nallow_anonymous true\n");
  const broker = spawn(mosquitto, ["-c", config], { stdio: "ignore" });
  broker.exited = new Promise((resolve) => broker.on("exit", resolve));
  for (let tries = 0; tries < 100; ++tries) {
    const open = await new Promise((resolve) => {
      const socket = net.connect(webSockets, "127.0.0.1", () => {
        socket.end();
        resolve(true);
      });
      socket.on("error", () => resolve(false));
    });
    if (open) return broker;
    await new Promise((resolve) => setTimeout(resolve, 100));
  }
  throw new Error("the broker did not start");
}

// Publishes `text` on `topic` over plain MQTT 3.1.1, QoS 0: CONNECT, then
// on CONNACK the PUBLISH and DISCONNECT.
function publish(port, topic, text, retained) {
  const utf8 = (value) => {
    const bytes = Buffer.from(value, "utf8");
    return Buffer.concat([Buffer.from([bytes.length >> 8, bytes.length & 255]), bytes]);
  };
  const packet = (first, ...parts) => {
    const body = Buffer.concat(parts);
    return Buffer.concat([Buffer.from([first, body.length]), body]);
  };
  return new Promise((resolve, reject) => {
    const socket = net.connect(port, "127.0.0.1", () => socket.write(
        packet(0x10, utf8("MQTT"), Buffer.from([4, 2, 0, 30]), utf8("test-publisher"))));
    socket.once("data", () => {
      socket.write(packet(retained ? 0x31 : 0x30, utf8(topic), Buffer.from(text)));
      socket.end(Buffer.from([0xe0, 0]), resolve);
    });
    socket.on("error", reject);
  });
}

async function main() {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), "pylonix-mqtt-"));
  const config = path.join(folder, "mosquitto.conf");
  const [plain, webSockets] = [await freePort(), await freePort()];
  let broker = await startBroker(config, plain, webSockets);
  const received = new Set();
  let connected = false;
  let connections = 0;
  try {
    await publish(plain, "game/snapshot", "first state", true);
    const link = PylonixMqtt.connect(`ws://127.0.0.1:${webSockets}`, (topic, text) => {
      received.add(topic + " " + text);
      reported();
    }, (up) => {
      connections += up && !connected ? 1 : 0;
      connected = up;
      reported();
    });
    link.subscribe("game/snapshot");
    link.subscribe("game/changes");
    await until("the retained snapshot", () => received.has("game/snapshot first state"));
    await publish(plain, "game/changes", "one", false);
    await until("a change", () => received.has("game/changes one"));

    broker.kill();
    await broker.exited;
    await until("the link to go down", () => !connected);
    broker = await startBroker(config, plain, webSockets);
    await until("a new connection", () => connected && connections === 2);
    await publish(plain, "game/changes", "two", false);
    await until("a change after the restart", () => received.has("game/changes two"));

    // Several filters in one request, '+' standing for one level: each
    // retained message under them is handed on.
    await publish(plain, "game/catchup/1", "level one", true);
    await publish(plain, "game/catchup/2", "level two", true);
    await publish(plain, "game/situation", "glance", true);
    link.subscribe(["game/situation", "game/catchup/+"]);
    await until("the retained messages under the filters", () =>
      ["game/situation glance", "game/catchup/1 level one", "game/catchup/2 level two"]
          .every((message) => received.has(message)));
    console.log("1 passed, 0 failed");
  } finally {
    broker.kill();
    fs.rmSync(folder, { recursive: true, force: true });
  }
}

main().then(() => process.exit(0), (error) => {
  console.log("FAIL " + error.message + "\n0 passed, 1 failed");
  process.exit(1);
});
