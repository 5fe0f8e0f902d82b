// A program as text in the page (the text form and every rule about it live in the
// module): the program given in the page's address, "#program=0001.0101.1110", and
// the address kept in step with RAM, so that a link copied from the address bar
// opens the same program; a text file or a piece of text dropped on the page; the
// clipboard pasted (Ctrl+V) and copied (Ctrl+C) on the diagram, that is with the
// keyboard focus in no text field. The page calls start() once the module is ready
// and addressInStep() after every event.
"use strict";

const procesorProgram = (function () {
  const kKey = "program=";
  let m = null;
  let apply = null;
  let now = null;
  let shown = ""; // the program the address shows, as the module writes it

  // The parts of the address's "#", e.g. ["manual-timers", "program=0001.1110"].
  function hashParts() {
    return location.hash.slice(1).split("&").filter(Boolean);
  }

  function inAddress(key) {
    const part = hashParts().find((p) => p.startsWith(key));
    if (part === undefined) return null;
    try {
      return decodeURIComponent(part.slice(key.length));
    } catch {
      return part.slice(key.length); // a stray "%": the module names the bad word
    }
  }
  const programInAddress = () => inAddress(kKey);

  // A task in the address ("#task=" its text, percent-encoded) opens its pane; one the
  // module refuses (the error box names what is wrong) is taken out of the address.
  const kTaskKey = "task=";
  function taskFromAddress() {
    const task = inAddress(kTaskKey);
    if (task === null) return;
    const u = apply(m._procesor_open_task(pass(task), now()));
    if (u[11] !== 0) return;
    const parts = hashParts().filter((p) => !p.startsWith(kTaskKey));
    const url = location.pathname + location.search + (parts.length ? "#" + parts.join("&") : "");
    history.replaceState(history.state, "", url);
  }

  // UTF-8 text or raw bytes into the module's text buffer; returns their length.
  // (The buffer first: making it may grow the module's memory and so renew HEAPU8.)
  function pass(textOrBytes) {
    const bytes = typeof textOrBytes === "string" ? new TextEncoder().encode(textOrBytes)
                                                  : textOrBytes;
    const at = m._procesor_text_buffer(bytes.length);
    m.HEAPU8.set(bytes, at);
    return bytes.length;
  }
  function passName(name) {
    const bytes = new TextEncoder().encode(name);
    const at = m._procesor_name_buffer(bytes.length);
    m.HEAPU8.set(bytes, at);
    return bytes.length;
  }

  // Pasted (Ctrl+V), or dropped or in the address (`pasted` false).
  function paste(text, pasted) {
    return apply(m._procesor_paste(pass(text), pasted ? 1 : 0, now()));
  }

  // Only the first bytes of a file are read: more than the module takes it refuses.
  async function openFile(file) {
    let bytes = null;
    try {
      bytes = new Uint8Array(await file.slice(0, m._procesor_max_program_bytes() + 1).arrayBuffer());
    } catch {
      apply(m._procesor_file_unreadable(passName(file.name), now()));
      return;
    }
    const length = pass(bytes);
    apply(m._procesor_open_file(passName(file.name), length, now()));
  }

  // Keys and drops aimed at a text field, or at the error box, are theirs.
  function forFields(target) {
    return target instanceof Element &&
           (target.closest("input, textarea, [contenteditable], dialog") !== null);
  }

  function addressInStep() {
    if (!m) return; // before start()
    const program = m.UTF8ToString(m._procesor_program_link());
    if (program === shown) return;
    shown = program;
    const parts = hashParts().filter((p) => !p.startsWith(kKey));
    if (program !== "") parts.push(kKey + program);
    const url = location.pathname + location.search + (parts.length ? "#" + parts.join("&") : "");
    history.replaceState(history.state, "", url);
  }

  // restore(program): the work kept across a reload brought back, if it is of the
  // address's program (true); the address's program comes in only otherwise.
  function start(module, applyUpdate, clock, restore) {
    m = module;
    apply = applyUpdate;
    now = clock;
    taskFromAddress();
    const program = programInAddress();
    const restored = restore ? restore(program ?? "") : false;
    if (program !== null && !restored) paste(program, false);
    // A program in the address stays as it was written until RAM changes. One refused
    // (the error box names what is wrong with it) leaves the address, so that a reload
    // does not refuse it again.
    shown = m.UTF8ToString(m._procesor_program_link());
    if (program !== null && shown === "") shown = null; // addressInStep() takes it out

    // The address edited by hand: its program comes in.
    window.addEventListener("hashchange", () => {
      const text = programInAddress();
      if (text !== null && text !== shown) paste(text, false);
    });

    // In the speed field a program comes in as the program; a number, or what is no
    // program, the field pastes as usual.
    document.addEventListener("paste", (event) => {
      const intoSpeed = event.target === document.getElementById("Edit17");
      if (forFields(event.target) && !intoSpeed) return;
      if (paste(event.clipboardData.getData("text/plain"), true)[7] !== 0) event.preventDefault();
    });
    document.addEventListener("copy", (event) => {
      if (forFields(event.target)) return;
      const text = m.UTF8ToString(m._procesor_copy_text());
      if (text === "") return;
      event.preventDefault();
      event.clipboardData.setData("text/plain", text);
    });

    const carries = (event) => event.dataTransfer &&
        (event.dataTransfer.types.includes("Files") || event.dataTransfer.types.includes("text/plain"));
    document.addEventListener("dragover", (event) => {
      if (!carries(event) || forFields(event.target)) return;
      event.preventDefault();
      event.dataTransfer.dropEffect = "copy";
    });
    document.addEventListener("drop", (event) => {
      if (!carries(event) || forFields(event.target)) return;
      event.preventDefault();
      const file = event.dataTransfer.files[0];
      if (file) openFile(file);
      else paste(event.dataTransfer.getData("text/plain"), false);
    });
  }

  // Whether the address brings a program or a task in: the first picture is not the
  // start picture then.
  // (An empty address part brings nothing: no need to read it, which the first time
  // costs the page the reading of this file's functions before its first picture.)
  const linked = () => location.hash.length > 1 && (programInAddress() !== null || inAddress(kTaskKey) !== null);

  return Object.freeze({ start, addressInStep, linked });
})();
