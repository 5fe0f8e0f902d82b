// The machine's time line in the page (screen/History.h, screen/Commands.h): the
// buttons of the strip right of the diagram ("Zpět", "Vpřed", "Časový diagram",
// "Předpovídat"), with their texts, tooltips and states as the module gives them after
// every update; the commands the module leaves to the page, carried out in one place
// (carryOut); the window "Časový diagram", made by the explainers' window frame, live
// with every pulse, with the log of transfers under it and its two exports; and the
// student's work kept in the tab's own storage, so that a reload brings it back.
// procesor.js calls procesorTimeLine() once the module is ready.
"use strict";

// m: the module's exports; apply(update) carries out an update; now(): the page's
// clock; view: view.js's texts across the seam.
function procesorTimeLine(m, apply, now, view) {
  // The codes of screen/Commands.h's Command, as the module numbers them.
  const kCommand = { stepBack: 0, stepForward: 1, timingDiagram: 2, copyProgram: 3,
                     pasteProgram: 4, savePicture: 5, predict: 6 };
  // The commands the strip shows, with their pictures (12 x 12).
  const kShown = [
    [kCommand.stepBack, "step-back", '<path d="M4 2L1 5L4 8M1 5H8A3 3 0 0 1 8 11H5"/>'],
    [kCommand.stepForward, "step-forward", '<path d="M8 2L11 5L8 8M11 5H4A3 3 0 0 0 4 11H7"/>'],
    [kCommand.timingDiagram, "timing-diagram", '<path d="M0.5 9.5H3.5V2.5H7.5V9.5H11.5"/>'],
    [kCommand.predict, "predict", '<path d="M3.5 4A2.5 2.5 0 1 1 6 6.5V8M6 9.5V11"/>'],
  ];
  const count = m._procesor_command_count();
  const report = document.getElementById("report");
  const tools = document.getElementById("tools");
  const buttons = new Map(); // code -> button

  for (const [code, id, picture] of kShown) {
    const button = document.createElement("button");
    button.type = "button";
    button.id = id;
    button.className = "command";
    button.setAttribute("aria-label", view.textOut(m._procesor_command_text(code, 0)));
    button.title = view.textOut(m._procesor_command_text(code, 1));
    button.innerHTML = '<svg width="12" height="12" viewBox="0 0 12 12" aria-hidden="true" ' +
                       'fill="none" stroke="#000000">' + picture + "</svg>";
    button.addEventListener("click", () => apply(m._procesor_command(code, now())));
    tools.append(button);
    buttons.set(code, button);
  }

  // The strip's states as the module has them now.
  function showStates() {
    const states = new Int32Array(m.HEAP32.buffer, m._procesor_command_states(), count * 4);
    for (let i = 0; i < count; ++i) {
      const [code, enabled, checked, checkable] = states.subarray(4 * i, 4 * i + 4);
      const button = buttons.get(code);
      if (!button) continue;
      if (button.disabled !== (enabled === 0)) button.disabled = enabled === 0;
      if (checkable) button.setAttribute("aria-pressed", String(checked !== 0));
    }
  }

  // ---- files for the student: a download of bytes under a name ----
  function base64(bytes) {
    let s = "";
    for (let i = 0; i < bytes.length; i += 0x8000)
      s += String.fromCharCode.apply(null, bytes.subarray(i, i + 0x8000));
    return btoa(s);
  }
  function download(name, type, bytes) {
    const link = document.createElement("a");
    link.download = name;
    link.href = `data:${type};base64,${base64(bytes)}`;
    link.click();
  }
  const bytesOut = (pointer) => m.HEAPU8.slice(pointer, pointer + m._procesor_out_bytes());

  // ---- "Časový diagram" ----
  let timing = null; // its window while open
  let logMark = "";  // the time line's first and newest position the log was made at
  let lastLine = "";

  function timeLine() {
    return [...new Int32Array(m.HEAP32.buffer, m._procesor_time_line(), 3)];
  }

  function paintTiming() {
    const w = timing;
    const at = m._procesor_timing_pixels();
    const pixels = new Uint8ClampedArray(m.HEAPU8.buffer, at, w.width * w.height * 4);
    w.context.putImageData(new ImageData(pixels, w.width, w.height), 0, 0);
    w.log.style.width = w.canvas.style.width;
  }

  // The log anew when the time line has other entries; its newest line, if new, said.
  function showLog(sentence) {
    const [first, , last] = timeLine();
    const mark = `${first},${last}`;
    if (mark === logMark) return;
    logMark = mark;
    const text = view.textOut(m._procesor_transfer_log());
    timing.log.value = text;
    timing.log.scrollTop = timing.log.scrollHeight;
    const lines = text.split("\n").filter(Boolean);
    const newest = lines.length ? lines[lines.length - 1] : "";
    if (newest !== "" && newest !== lastLine) report.textContent = sentence ? `${sentence} ${newest}` : newest;
    lastLine = newest;
  }

  const kTimingKeys = { ArrowLeft: 0, ArrowRight: 1, PageUp: 2, PageDown: 3, Home: 4, End: 5,
                        Enter: 6 };

  function openTiming() {
    const fresh = !timing;
    timing = window.procesorExplainers.openOwn("timing", (frame) => {
      const w = frame("Časový diagram", m._procesor_timing_width(), m._procesor_timing_height(),
                      () => { timing = null; });
      w.element.classList.add("timing");
      const log = document.createElement("textarea");
      log.className = "log";
      log.readOnly = true;
      log.rows = 6;
      log.spellcheck = false;
      log.setAttribute("aria-label", "Záznam přenosů");
      const row = document.createElement("div");
      row.className = "buttons";
      const csv = document.createElement("button");
      csv.type = "button";
      csv.textContent = "Uložit tabulku (CSV)";
      csv.addEventListener("click", () =>
        download("casovy-diagram.csv", "text/csv;charset=utf-8", bytesOut(m._procesor_pulse_csv())));
      const png = document.createElement("button");
      png.type = "button";
      png.textContent = "Uložit obrázek (PNG)";
      png.addEventListener("click", () => {
        w.canvas.toBlob(async (blob) => {
          download("casovy-diagram.png", "image/png", new Uint8Array(await blob.arrayBuffer()));
        }, "image/png");
      });
      row.append(csv, png);
      w.element.append(log, row);
      w.log = log;

      // A click on a column moves the machine there; the wheel scrolls.
      w.canvas.addEventListener("pointerdown", (event) => {
        if (event.isPrimary && event.button === 0) w.element.focus();
      });
      w.canvas.addEventListener("click", (event) => {
        const r = w.canvas.getBoundingClientRect();
        const x = Math.floor((event.clientX - r.left) * w.width / r.width);
        const y = Math.floor((event.clientY - r.top) * w.height / r.height);
        apply(m._procesor_timing_click(x, y, now()));
      });
      w.canvas.addEventListener("wheel", (event) => {
        const delta = Math.abs(event.deltaX) > Math.abs(event.deltaY) ? event.deltaX : event.deltaY;
        if (delta === 0) return;
        event.preventDefault();
        m._procesor_timing_scroll(delta > 0 ? 3 : -3);
        paintTiming();
      }, { passive: false });
      // Its keys on the window itself (the log and the buttons keep theirs).
      w.element.addEventListener("keydown", (event) => {
        const key = kTimingKeys[event.key];
        if (key === undefined || event.target !== w.element) return;
        if (event.ctrlKey || event.altKey || event.metaKey || event.shiftKey) return;
        event.preventDefault();
        event.stopPropagation();
        apply(m._procesor_timing_key(key, now()));
        paintTiming();
      });
      document.body.append(w.element);
      return w;
    });
    if (fresh) {
      logMark = "";
      paintTiming();
      showLog("");
    }
  }

  // ---- the commands the module leaves to the page, all carried out here ----
  function carryOut(code) {
    if (code === kCommand.timingDiagram) openTiming();
    else if (code === kCommand.savePicture)
      download("procesor.png", "image/png", bytesOut(m._procesor_picture_png()));
    else if (code === kCommand.copyProgram) {
      const text = m.UTF8ToString(m._procesor_copy_text());
      if (text !== "") navigator.clipboard?.writeText(text).catch(() => {});
    } else if (code === kCommand.pasteProgram) {
      navigator.clipboard?.readText()
        .then((text) => apply(m._procesor_paste(view.textIn(text), 1, now())))
        .catch(() => {});
    }
  }

  // ---- the work kept across a reload, in this tab's storage ----
  const kStored = procesorWorkKey; // web/start.js
  function store() {
    try {
      const text = view.textOut(m._procesor_saved_work());
      if (text === "") sessionStorage.removeItem(kStored);
      else sessionStorage.setItem(kStored, text);
    } catch {
      // No storage (switched off, full): the page works on without it.
    }
  }
  window.addEventListener("pagehide", store);
  document.addEventListener("visibilitychange", () => {
    if (document.hidden) store();
  });
  // The work kept, if its program is `program` (the address's, "" for none): true when
  // it came back. What is not taken back (garbled, of another link) is removed.
  function restore(program) {
    let saved = null;
    try {
      saved = sessionStorage.getItem(kStored);
    } catch {
      return false;
    }
    if (saved === null) return false;
    const bytes = view.textIn(saved);
    const name = new TextEncoder().encode(program);
    m.HEAPU8.set(name, m._procesor_name_buffer(name.length));
    if (m._procesor_restore_work(bytes, name.length, now()) === 0) {
      try {
        sessionStorage.removeItem(kStored);
      } catch {
        // as above
      }
      return false;
    }
    apply(m._procesor_command(-1, now())); // the picture and the fields as restored
    return true;
  }

  return Object.freeze({
    // After every update: the strip's states, the window live, the log's newest line.
    afterUpdate(u, sentence) {
      showStates();
      if (timing) {
        paintTiming();
        showLog(sentence);
      }
    },
    carryOut,
    restore,
    store,
    timeLine,
    isTimingOpen: () => timing !== null,
  });
}
