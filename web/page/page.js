// Quillmoor web page: the viewer (compiled to WebAssembly) beside a scene editor that
// checks every edit with the same checker as the desktop quillmoor-check.
'use strict';

// The Emscripten output reads this global when its script runs, so it must exist first.
var Module = {
  canvas: document.getElementById('canvas'),
  print: function (text) { quillmoorLog(text, false); },
  printErr: function (text) { quillmoorLog(text, true); },
  onRuntimeInitialized: function () { quillmoorRuntimeReady(); }
};

var quillmoorLog, quillmoorRuntimeReady;

(function () {
  var $ = function (id) { return document.getElementById(id); };
  var canvas = $('canvas');
  var editor = $('editor');
  var menu = $('scenes');
  var workbench = $('workbench');
  var tabsBox = $('tabs');
  var numbers = $('numbers');
  var marksBox = $('marks');
  var gutterInner = $('gutter-inner');
  var findingsList = $('findings');

  var CHECK_DELAY_MS = 150;
  var LOG_LINES = 300;
  var BUFFER_W = 1024, BUFFER_H = 768;

  var runtimeUp = false;
  var resolveRuntime;
  var runtime = new Promise(function (resolve) { resolveRuntime = resolve; });
  var resolveReady, rejectReady;
  var ready = new Promise(function (resolve, reject) { resolveReady = resolve; rejectReady = reject; });
  ready.catch(function () { /* reported on the page; tests see the rejection themselves */ });

  // Everything about the scene being edited.
  var cur = {
    name: null,      // menu value: 'demo', an example name, or 'dropped/N'
    folder: null,    // FS folder the viewer runs in
    origin: null,    // where revert takes the files from
    files: [],       // paths relative to the folder, scene.txt first
    texts: {},       // path -> text as edited
    dirty: {},       // path -> edited but not yet written to the FS
    edited: {},      // path -> differs from the original
    originals: {},   // path -> the original text, normalised
    views: {},       // path -> scroll and selection of its tab
    tab: null,
    findings: [],
    lineCount: 0
  };
  var checkTimer = 0;
  var droppedCount = 0;

  // ---------------------------------------------------------------- output

  var logLines = [];
  var logFlush = 0;
  quillmoorLog = function (text, isErr) {
    if (isErr) console.warn(text); else console.log(text);
    logLines.push(String(text));
    if (logLines.length > LOG_LINES) logLines.splice(0, logLines.length - LOG_LINES);
    // Batch: a reload can print hundreds of lines in one go.
    if (!logFlush) {
      logFlush = requestAnimationFrame(function () {
        logFlush = 0;
        var pre = $('log');
        pre.textContent = logLines.join('\n');
        pre.scrollTop = pre.scrollHeight;
      });
    }
  };

  function setMessage(text, isError) {
    var m = $('message');
    m.textContent = text || '';
    m.style.color = isError ? 'var(--warn)' : '';
  }

  // ------------------------------------------------------------- C calls

  function call(name, ret, types, args) {
    return Module.ccall(name, ret, types || [], args || []);
  }

  // -------------------------------------------------------------- FS help

  var S_IFMT = 61440, S_IFDIR = 16384;

  function fsKind(path) {
    try {
      var st = Module.FS.stat(path);
      return (st.mode & S_IFMT) === S_IFDIR ? 'dir' : 'file';
    } catch (e) {
      return null;
    }
  }

  function mkdirs(path) {
    var parts = path.split('/').filter(Boolean);
    var at = '';
    for (var i = 0; i < parts.length; i++) {
      at += '/' + parts[i];
      if (!fsKind(at)) Module.FS.mkdir(at);
    }
  }

  // Relative paths of every file below dir.
  function listFiles(dir, prefix, out) {
    out = out || [];
    prefix = prefix || '';
    var names;
    try { names = Module.FS.readdir(dir); } catch (e) { return out; }
    names.sort();
    for (var i = 0; i < names.length; i++) {
      var n = names[i];
      if (n === '.' || n === '..') continue;
      var kind = fsKind(dir + '/' + n);
      if (kind === 'dir') listFiles(dir + '/' + n, prefix + n + '/', out);
      else if (kind === 'file') out.push(prefix + n);
    }
    return out;
  }

  function readText(path) {
    try { return Module.FS.readFile(path, { encoding: 'utf8' }); } catch (e) { return null; }
  }

  function writeFile(folder, rel, data) {
    var full = folder + '/' + rel;
    mkdirs(dirname(full));
    Module.FS.writeFile(full, data);
  }

  function dirname(path) {
    var i = path.lastIndexOf('/');
    return i <= 0 ? (path[0] === '/' ? '/' : '') : path.slice(0, i);
  }

  function basename(path) {
    return path.slice(path.lastIndexOf('/') + 1);
  }

  function bundledFolder(name) {
    if (name === 'demo') return '/demo';
    if (!name || name.indexOf('/') >= 0 || name[0] === '.') return null;
    return '/examples/' + name;
  }

  // The textarea turns CR LF and lone CR into LF; compare texts the same way.
  function normalise(text) {
    return text == null ? null : text.replace(/\r\n?/g, '\n');
  }

  // ------------------------------------------------------------ the menu

  function fillMenu() {
    var names = [];
    if (fsKind('/examples') === 'dir') {
      names = Module.FS.readdir('/examples').filter(function (n) {
        return n !== '.' && n !== '..' && fsKind('/examples/' + n) === 'dir';
      }).sort();
    }
    menu.textContent = '';
    if (fsKind('/demo') === 'dir') names.unshift('demo');
    names.forEach(function (n) { addMenuItem(n, n); });
  }

  function addMenuItem(value, label) {
    var o = document.createElement('option');
    o.value = value;
    o.textContent = label;
    menu.appendChild(o);
    return o;
  }

  function nameFromHash() {
    var h = location.hash.replace(/^#/, '');
    try { h = decodeURIComponent(h); } catch (e) { /* keep it raw */ }
    return h || 'demo';
  }

  // --------------------------------------------------------------- opening

  // Opens a menu name; edits live in /edit/NAME so the bundled files stay as they were.
  function openName(name) {
    if (/^dropped\/\d+$/.test(name)) {
      var entry = droppedOrigins[name];
      if (!entry) { setMessage('no dropped scene ' + name + ' in this page', true); return false; }
      return openFolder('/' + name, name, entry);
    }
    var src = bundledFolder(name);
    if (!src || fsKind(src + '/scene.txt') !== 'file') {
      setMessage('no scene called "' + name + '"', true);
      return false;
    }
    var dst = '/edit/' + name;
    if (fsKind(dst + '/scene.txt') !== 'file') copyTree(src, dst);
    return openFolder(dst, name, { kind: 'bundle', path: src });
  }

  function copyTree(src, dst) {
    mkdirs(dst);
    listFiles(src).forEach(function (rel) {
      writeFile(dst, rel, Module.FS.readFile(src + '/' + rel));
    });
  }

  function openFolder(folder, name, origin) {
    flushEdits();
    clearTimeout(checkTimer);
    var ok = call('qm_open', 'number', ['string'], [folder]) === 1;
    showWorldSize();
    cur.name = name;
    cur.folder = folder;
    cur.origin = origin;
    cur.views = {};
    cur.dirty = {};
    cur.tab = null;
    loadTexts();
    showMenuValue(name);
    renderTabs();
    showTab('scene.txt');
    runCheck();
    $('folder').textContent = folder;
    $('folder').title = 'The viewer runs in this folder of the in-page file system';
    setMessage(ok ? 'opened ' + name : 'could not read ' + folder + '/scene.txt', !ok);
    return ok;
  }

  // scene.txt first, then the meshes and materials in the folder.
  function loadTexts() {
    var all = listFiles(cur.folder);
    var others = all.filter(function (p) { return /\.(obj|mtl)$/i.test(p); });
    others.sort(function (a, b) {
      // Materials first: there are few of them and every mesh refers to one.
      var ka = /\.mtl$/i.test(a) ? 0 : 1, kb = /\.mtl$/i.test(b) ? 0 : 1;
      return ka - kb || (a < b ? -1 : a > b ? 1 : 0);
    });
    cur.files = ['scene.txt'].concat(others);
    cur.texts = {};
    cur.edited = {};
    cur.originals = {};
    cur.files.forEach(function (p) {
      var t = readText(cur.folder + '/' + p);
      cur.texts[p] = t == null ? '' : t;
      cur.edited[p] = normalise(cur.texts[p]) !== originalText(p);
    });
  }

  // Normalised, and kept: every key press compares the tab against it.
  function originalText(rel) {
    if (cur.originals.hasOwnProperty(rel)) return cur.originals[rel];
    var o = cur.origin, text = null;
    if (o && o.kind === 'bundle') text = readText(o.path + '/' + rel);
    else if (o && o.files[rel]) text = new TextDecoder().decode(o.files[rel]);
    return (cur.originals[rel] = normalise(text));
  }

  function showMenuValue(name) {
    var found = false;
    for (var i = 0; i < menu.options.length; i++) {
      if (menu.options[i].value === name) { found = true; break; }
    }
    if (!found) addMenuItem(name, name.replace('/', ' '));
    menu.value = name;
  }

  function revert() {
    if (!cur.folder) return;
    var o = cur.origin;
    var keep = {};
    if (o.kind === 'bundle') {
      listFiles(o.path).forEach(function (rel) {
        keep[rel] = true;
        writeFile(cur.folder, rel, Module.FS.readFile(o.path + '/' + rel));
      });
    } else {
      Object.keys(o.files).forEach(function (rel) {
        keep[rel] = true;
        writeFile(cur.folder, rel, o.files[rel]);
      });
    }
    // Files added since (dropped meshes) go too.
    listFiles(cur.folder).forEach(function (rel) {
      if (!keep[rel]) Module.FS.unlink(cur.folder + '/' + rel);
    });
    var tab = cur.tab;
    cur.dirty = {};
    openFolder(cur.folder, cur.name, o);
    if (cur.texts.hasOwnProperty(tab)) showTab(tab);
    setMessage('reverted ' + cur.name + ' to its original files');
  }

  // --------------------------------------------------------------- editing

  function flushEdits() {
    if (!cur.folder) return;
    Object.keys(cur.dirty).forEach(function (rel) {
      writeFile(cur.folder, rel, cur.texts[rel]);
    });
    cur.dirty = {};
  }

  function runCheck() {
    clearTimeout(checkTimer);
    checkTimer = 0;
    if (!cur.folder) return;
    flushEdits();
    var out = call('qm_check', 'string', ['string'], [cur.folder]) || '';
    cur.findings = parseFindings(out);
    renderFindings();
    renderMarks();
    renderTabMarks();
  }

  function scheduleCheck() {
    clearTimeout(checkTimer);
    checkTimer = setTimeout(runCheck, CHECK_DELAY_MS);
  }

  function reloadWorld() {
    if (!cur.folder) return;
    runCheck();
    call('qm_reload', null);
    showWorldSize();
    var w = countOf('warning');
    setMessage('reloaded ' + cur.name + (w ? ' (' + plural(w, 'warning') + ')' : ''));
  }

  function parseFindings(out) {
    var list = [];
    var prefix = cur.folder + '/';
    out.split('\n').forEach(function (line) {
      if (!line.trim()) return;
      var m = /^(.+?):(\d+): (warning|note): (.*)$/.exec(line);
      if (!m) { list.push({ file: '', line: 0, kind: 'other', text: line }); return; }
      var file = m[1].replace(/^\.\//, '');
      if (file.indexOf(prefix) === 0) file = file.slice(prefix.length);
      list.push({ file: file, line: +m[2], kind: m[3], text: m[4] });
    });
    return list;
  }

  function countOf(kind) {
    return cur.findings.filter(function (f) { return f.kind === kind; }).length;
  }

  function plural(n, word) { return n + ' ' + word + (n === 1 ? '' : 's'); }

  function renderFindings() {
    var frag = document.createDocumentFragment();
    cur.findings.forEach(function (f) {
      var li = document.createElement('li');
      li.className = f.kind;
      li.setAttribute('data-file', f.file);
      li.setAttribute('data-line', String(f.line));
      li.setAttribute('data-kind', f.kind);
      if (f.kind !== 'other') {
        var where = document.createElement('span');
        where.className = 'where';
        where.textContent = f.file + ':' + f.line;
        var kind = document.createElement('span');
        kind.className = 'kind';
        kind.textContent = f.kind;
        li.appendChild(where);
        li.appendChild(kind);
        if (!cur.texts.hasOwnProperty(f.file)) {
          li.classList.add('elsewhere');
          li.title = f.file + ' is not among the files of this folder';
        }
      }
      var text = document.createElement('span');
      text.className = 'text';
      text.textContent = f.text;
      li.appendChild(text);
      frag.appendChild(li);
    });
    findingsList.textContent = '';
    if (!cur.findings.length) {
      var li = document.createElement('li');
      li.className = 'empty';
      li.textContent = 'The checker has nothing to say about this scene.';
      // Not a finding: keep it out of selectors that count [data-line] items.
      li.setAttribute('aria-label', 'no findings');
      findingsList.appendChild(li);
    } else {
      findingsList.appendChild(frag);
    }

    var w = countOf('warning'), n = countOf('note');
    var parts = [];
    if (w) parts.push(plural(w, 'warning'));
    if (n) parts.push(plural(n, 'note'));
    var summary = parts.length ? parts.join(', ') : 'no findings';
    var count = $('count');
    count.textContent = summary;
    count.classList.toggle('has-warnings', w > 0);
    $('findings-title').textContent = 'findings: ' + summary;
  }

  findingsList.addEventListener('click', function (e) {
    var li = e.target.closest('li[data-line]');
    if (!li) return;
    var file = li.getAttribute('data-file');
    var line = +li.getAttribute('data-line');
    if (!file || !line || !cur.texts.hasOwnProperty(file)) return;
    showTab(file);
    selectLine(line);
  });

  // ------------------------------------------------------------ tabs

  function renderTabs() {
    tabsBox.textContent = '';
    cur.files.forEach(function (p) {
      var b = document.createElement('button');
      b.type = 'button';
      b.className = 'tab';
      b.setAttribute('role', 'tab');
      b.setAttribute('data-file', p);
      b.textContent = p === 'scene.txt' ? p : basename(p);
      b.title = p;
      b.addEventListener('click', function () { showTab(p); editor.focus(); });
      tabsBox.appendChild(b);
    });
  }

  function renderTabMarks() {
    var worst = {};
    cur.findings.forEach(function (f) {
      if (f.kind === 'warning') worst[f.file] = 'warning';
      else if (f.kind === 'note' && !worst[f.file]) worst[f.file] = 'note';
    });
    tabsBox.querySelectorAll('.tab').forEach(function (b) {
      var p = b.getAttribute('data-file');
      b.classList.toggle('has-warning', worst[p] === 'warning');
      b.classList.toggle('has-note', worst[p] === 'note');
      b.classList.toggle('dirty', !!cur.edited[p]);
      b.setAttribute('aria-selected', p === cur.tab ? 'true' : 'false');
    });
  }

  function saveView() {
    if (!cur.tab) return;
    cur.views[cur.tab] = {
      top: editor.scrollTop, left: editor.scrollLeft,
      start: editor.selectionStart, end: editor.selectionEnd
    };
  }

  function showTab(path) {
    if (!cur.texts.hasOwnProperty(path)) return;
    if (path !== cur.tab) {
      saveView();
      cur.tab = path;
      editor.value = cur.texts[path];
      var v = cur.views[path];
      if (v) {
        editor.setSelectionRange(v.start, v.end);
        editor.scrollTop = v.top;
        editor.scrollLeft = v.left;
      } else {
        editor.setSelectionRange(0, 0);
        editor.scrollTop = 0;
        editor.scrollLeft = 0;
      }
    } else if (editor.value !== normalise(cur.texts[path])) {
      editor.value = cur.texts[path];
    }
    cur.lineCount = -1;
    updateNumbers();
    syncGutter();
    renderMarks();
    renderTabMarks();
    var active = tabsBox.querySelector('.tab[aria-selected="true"]');
    if (active && active.scrollIntoView) active.scrollIntoView({ block: 'nearest' });
  }

  // -------------------------------------------------------------- gutter

  function lineMetrics() {
    var cs = getComputedStyle(editor);
    return { height: parseFloat(cs.lineHeight) || 18, pad: parseFloat(cs.paddingTop) || 0 };
  }

  function countLines(text) {
    var n = 1, i = -1;
    while ((i = text.indexOf('\n', i + 1)) !== -1) n++;
    return n;
  }

  function updateNumbers() {
    var n = countLines(editor.value);
    if (n === cur.lineCount) return;
    cur.lineCount = n;
    var s = new Array(n);
    for (var i = 0; i < n; i++) s[i] = i + 1;
    numbers.textContent = s.join('\n');
  }

  function syncGutter() {
    gutterInner.style.transform = 'translateY(' + (-editor.scrollTop) + 'px)';
  }

  function renderMarks() {
    marksBox.textContent = '';
    if (!cur.tab) return;
    var byLine = {};
    cur.findings.forEach(function (f) {
      if (f.file !== cur.tab || !f.line) return;
      var m = byLine[f.line] || (byLine[f.line] = { kind: f.kind, texts: [] });
      if (f.kind === 'warning') m.kind = 'warning';
      if (m.texts.indexOf(f.kind + ': ' + f.text) < 0) m.texts.push(f.kind + ': ' + f.text);
    });
    var lm = lineMetrics();
    var frag = document.createDocumentFragment();
    Object.keys(byLine).forEach(function (line) {
      var m = byLine[line];
      var d = document.createElement('div');
      d.className = 'mark ' + m.kind;
      d.style.top = (lm.pad + (line - 1) * lm.height) + 'px';
      d.title = 'line ' + line + '\n' + m.texts.join('\n');
      d.setAttribute('data-line', line);
      frag.appendChild(d);
    });
    marksBox.appendChild(frag);
  }

  function selectLine(line) {
    var text = editor.value;
    var start = 0;
    for (var i = 1; i < line; i++) {
      var nl = text.indexOf('\n', start);
      if (nl < 0) break;
      start = nl + 1;
    }
    var end = text.indexOf('\n', start);
    if (end < 0) end = text.length;
    editor.focus({ preventScroll: true });
    editor.setSelectionRange(start, end);
    var lm = lineMetrics();
    var top = lm.pad + (line - 1) * lm.height;
    editor.scrollTop = Math.max(0, top - editor.clientHeight / 3);
    editor.scrollLeft = 0;
    syncGutter();
  }

  editor.addEventListener('input', function () {
    if (!cur.tab) return;
    cur.texts[cur.tab] = editor.value;
    cur.dirty[cur.tab] = true;
    var was = cur.edited[cur.tab];
    cur.edited[cur.tab] = editor.value !== originalText(cur.tab);
    if (was !== cur.edited[cur.tab]) renderTabMarks();
    updateNumbers();
    syncGutter();
    scheduleCheck();
  });
  editor.addEventListener('scroll', syncGutter);
  editor.addEventListener('keydown', function (e) {
    if (e.key === 'Enter' && (e.ctrlKey || e.metaKey)) {
      e.preventDefault();
      reloadWorld();
    }
  });

  // ------------------------------------------------------------ buttons

  function onButton(id, fn) {
    $(id).addEventListener('click', function (e) {
      if (!runtimeUp) return;
      fn();
      // A mouse click leaves focus on the button, where space and r would not reach the viewer.
      if (e.detail > 0) $(id).blur();
    });
  }

  onButton('reload', reloadWorld);
  onButton('revert', revert);
  onButton('download', function () {
    if (cur.tab) download(cur.tab);
  });
  onButton('download-all', function () {
    // Browsers allow a burst of downloads more readily when they are spaced out.
    cur.files.forEach(function (p, i) { setTimeout(function () { download(p); }, i * 150); });
    setMessage('downloading ' + plural(cur.files.length, 'file') + ' of ' + cur.name);
  });

  function download(path) {
    var blob = new Blob([cur.texts[path]], { type: 'text/plain' });
    var a = document.createElement('a');
    a.href = URL.createObjectURL(blob);
    a.download = basename(path);
    document.body.appendChild(a);
    a.click();
    a.remove();
    setTimeout(function () { URL.revokeObjectURL(a.href); }, 10000);
    setMessage('saved ' + path + ' as ' + basename(path));
  }

  // ----------------------------------------------------------- the menu

  menu.addEventListener('change', function () {
    var name = menu.value;
    if (/^dropped\//.test(name)) {
      openName(name);
      clearHash();
    } else if (nameFromHash() === name && location.hash) {
      openName(name);
    } else {
      location.hash = name;   // hashchange opens it
    }
    menu.blur();
  });

  window.addEventListener('hashchange', function () {
    if (!runtimeUp) return;
    var name = nameFromHash();
    if (name !== cur.name) openOrDemo(name);
  });

  function clearHash() {
    history.replaceState(null, '', location.pathname + location.search);
  }

  function openOrDemo(name) {
    if (openName(name) || cur.name === name) return;
    if (name !== 'demo') {
      var msg = $('message').textContent;
      if (cur.name !== 'demo') openName('demo');
      history.replaceState(null, '', '#demo');
      setMessage(msg + '; showing the demo', true);
    }
  }

  // ------------------------------------------------------------ workbench

  workbench.addEventListener('change', function () {
    applyWorkbench();
    workbench.blur();
  });

  function applyWorkbench() {
    if (!runtimeUp) return;
    call('qm_set_workbench', null, ['number'], [workbench.checked ? 1 : 0]);
    $('keyhint').textContent = workbench.checked
      ? 'space pause · . step · [ ] speed · 0 view · d debug · i inspect · h keys · r reload'
      : 'r reloads the world';
  }

  // --------------------------------------------------------------- keys

  function isTextEntry(el) {
    if (!el || !el.tagName) return false;
    var t = el.tagName;
    if (t === 'TEXTAREA' || t === 'SELECT' || el.isContentEditable) return true;
    if (t === 'INPUT') return !/^(checkbox|radio|button|submit|reset|range|color)$/i.test(el.type);
    return false;
  }

  document.addEventListener('keydown', function (e) {
    if (!runtimeUp || !cur.folder) return;
    if (e.ctrlKey || e.metaKey || e.altKey) return;
    if (isTextEntry(e.target) || isTextEntry(document.activeElement)) return;
    if (e.key.length !== 1) return;   // Escape and other named keys do nothing
    var code = e.key.charCodeAt(0);
    if (code < 32 || code > 126) return;
    if (!workbench.checked && e.key !== 'r') return;
    // r reads the files again: the editor's latest text must be there already.
    if (e.key === 'r') flushEdits();
    call('qm_key', null, ['number'], [code]);
    if (e.key === 'r') showWorldSize();
    if (e.key === ' ') e.preventDefault();
  });

  // -------------------------------------------------------------- mouse

  function bufferXY(e) {
    var r = canvas.getBoundingClientRect();
    var w = canvas.width || BUFFER_W, h = canvas.height || BUFFER_H;
    // The epsilon keeps an exact centre from rounding down to the pixel before it.
    return [Math.floor((e.clientX - r.left) * w / r.width + 1e-6),
            Math.floor((e.clientY - r.top) * h / r.height + 1e-6)];
  }

  function mouse(kind, button, e) {
    if (!runtimeUp || !cur.folder) return;
    var p = bufferXY(e);
    call('qm_mouse', null, ['number', 'number', 'number', 'number'], [kind, button, p[0], p[1]]);
  }

  // Buttons held since a press on the canvas, in press order; a drag keeps reporting the first.
  var held = [];

  canvas.addEventListener('mousedown', function (e) {
    if (e.button !== 0 && e.button !== 2) {
      if (e.button === 1) e.preventDefault();   // no autoscroll or paste
      return;
    }
    e.preventDefault();   // no text selection while dragging out of the canvas
    canvas.focus({ preventScroll: true });
    if (held.indexOf(e.button) < 0) held.push(e.button);
    mouse(1, e.button, e);
  });

  window.addEventListener('mouseup', function (e) {
    var i = held.indexOf(e.button);
    if (i < 0) return;
    held.splice(i, 1);
    mouse(2, e.button, e);
  });

  window.addEventListener('mousemove', function (e) {
    if (held.length) {
      mouse(3, held[0], e);
    } else if (e.target === canvas) {
      mouse(0, 0, e);
    }
  });

  window.addEventListener('blur', function () {
    // Focus lost with a button down: the up event will never come.
    if (!held.length) return;
    var r = canvas.getBoundingClientRect();
    var fake = { clientX: r.left + r.width / 2, clientY: r.top + r.height / 2 };
    held.splice(0).forEach(function (b) { mouse(2, b, fake); });
  });

  // A notch is 100 pixels in most browsers; trackpads send many small deltas instead.
  var wheelSum = 0, wheelLast = 0;
  canvas.addEventListener('wheel', function (e) {
    if (workbench.checked) e.preventDefault();
    if (!e.deltaY) return;
    var now = performance.now();
    var dir = e.deltaY < 0 ? -1 : 1;
    var steps = 0;
    if (e.deltaMode !== 0) {
      steps = 1;
    } else if (now - wheelLast > 250 || (wheelSum && Math.sign(wheelSum) !== dir)) {
      steps = 1;          // the first movement after a pause counts at once
      wheelSum = 0;
    } else {
      wheelSum += e.deltaY;
      while (Math.abs(wheelSum) >= 100 && steps < 3) { steps++; wheelSum -= 100 * dir; }
      if (Math.abs(wheelSum) >= 100) wheelSum = 0;
    }
    wheelLast = now;
    for (var i = 0; i < steps; i++) mouse(1, dir < 0 ? 3 : 4, e);
  }, { passive: false });

  canvas.addEventListener('contextmenu', function (e) {
    if (workbench.checked) e.preventDefault();
  });

  // ------------------------------------------------------------ dropping

  var droppedOrigins = {};
  var dragDepth = 0;

  function hasFiles(e) {
    var types = e.dataTransfer && e.dataTransfer.types;
    return !!types && Array.prototype.indexOf.call(types, 'Files') >= 0;
  }

  document.addEventListener('dragenter', function (e) {
    if (!hasFiles(e)) return;
    dragDepth++;
    document.body.classList.add('dragging');
  });
  document.addEventListener('dragleave', function (e) {
    if (!hasFiles(e)) return;
    if (--dragDepth <= 0) { dragDepth = 0; document.body.classList.remove('dragging'); }
  });
  document.addEventListener('dragover', function (e) {
    if (!hasFiles(e)) return;
    e.preventDefault();
    e.dataTransfer.dropEffect = 'copy';
  });
  document.addEventListener('drop', function (e) {
    if (!hasFiles(e)) return;
    e.preventDefault();
    dragDepth = 0;
    document.body.classList.remove('dragging');
    if (!runtimeUp) { setMessage('wait until the viewer has started, then drop again', true); return; }
    // Entries must be taken now: the drop's data is gone once this handler returns.
    var entries = [];
    var items = e.dataTransfer.items;
    for (var i = 0; items && i < items.length; i++) {
      var en = items[i].webkitGetAsEntry ? items[i].webkitGetAsEntry() : null;
      if (en) entries.push(en);
    }
    var got = entries.length
      ? Promise.all(entries.map(function (en) { return readEntry(en); })).then(flatten)
      : Promise.resolve(Array.prototype.map.call(e.dataTransfer.files, function (f) {
          return { path: f.name, file: f };
        }));
    got.then(function (list) {
      return Promise.all(list.map(function (it) {
        return it.file.arrayBuffer().then(function (buf) {
          return { path: it.path, bytes: new Uint8Array(buf) };
        });
      }));
    }).then(takeDropped).catch(function (err) {
      setMessage('could not read the dropped files: ' + err, true);
    });
  });

  function flatten(lists) { return [].concat.apply([], lists); }

  function readEntry(entry) {
    if (entry.isFile) {
      return new Promise(function (resolve, reject) {
        entry.file(function (f) {
          resolve([{ path: entry.fullPath.replace(/^\/+/, ''), file: f }]);
        }, reject);
      });
    }
    if (!entry.isDirectory) return Promise.resolve([]);
    var reader = entry.createReader();
    var all = [];
    // readEntries hands out a folder in batches until it returns none.
    return new Promise(function (resolve, reject) {
      (function next() {
        reader.readEntries(function (batch) {
          if (!batch.length) { resolve(all); return; }
          all = all.concat(batch);
          next();
        }, reject);
      })();
    }).then(function (children) {
      return Promise.all(children.map(readEntry)).then(flatten);
    });
  }

  function takeDropped(list) {
    list = list.filter(function (it) { return !/(^|\/)\./.test(it.path); });
    if (!list.length) { setMessage('nothing usable was dropped', true); return; }
    var txts = list.filter(function (it) { return /\.txt$/i.test(it.path); });
    if (!txts.length) { addToOpenScene(list); return; }

    // The scene: scene.txt nearest the top, else the first .txt.
    var named = txts.filter(function (it) { return basename(it.path).toLowerCase() === 'scene.txt'; });
    named.sort(function (a, b) { return a.path.split('/').length - b.path.split('/').length; });
    var scene = named[0] || txts[0];
    var root = dirname(scene.path);
    root = root ? root + '/' : '';

    var files = {};
    files['scene.txt'] = scene.bytes;
    var sceneText = new TextDecoder().decode(scene.bytes);
    var refs = referencedPaths([sceneText].concat(list.filter(function (it) {
      return /\.obj$/i.test(it.path);
    }).map(function (it) { return new TextDecoder().decode(it.bytes); })));
    list.forEach(function (it) {
      if (it === scene) return;
      var rel = it.path.indexOf(root) === 0 ? it.path.slice(root.length) : basename(it.path);
      placeFor(rel, refs).forEach(function (p) { if (!files[p]) files[p] = it.bytes; });
    });

    do { droppedCount++; } while (fsKind('/dropped/' + droppedCount));
    var name = 'dropped/' + droppedCount;
    var folder = '/' + name;
    mkdirs(folder);
    Object.keys(files).forEach(function (rel) { writeFile(folder, rel, files[rel]); });
    var origin = { kind: 'dropped', files: files };
    droppedOrigins[name] = origin;
    addMenuItem(name, 'dropped ' + droppedCount + ': ' + basename(scene.path));
    var ok = openFolder(folder, name, origin);
    clearHash();
    var n = Object.keys(files).length;
    var from = basename(scene.path) === 'scene.txt' ? '' : ' (' + basename(scene.path) + ' as scene.txt)';
    setMessage((ok ? 'opened ' : 'could not open ') + plural(n, 'dropped file') + from, !ok);
  }

  // Meshes dropped without a scene replace or join the files of the open one.
  function addToOpenScene(list) {
    if (!cur.folder) return;
    var useful = list.filter(function (it) { return /\.(obj|mtl)$/i.test(it.path); });
    if (!useful.length) {
      setMessage('nothing to open: drop a scene (.txt) with its .obj and .mtl files', true);
      return;
    }
    flushEdits();
    var texts = [cur.texts['scene.txt']].concat(cur.files.filter(function (p) {
      return /\.obj$/i.test(p);
    }).map(function (p) { return cur.texts[p]; }));
    var refs = referencedPaths(texts);
    var written = 0;
    useful.forEach(function (it) {
      // A dropped folder's own layout wins; a loose file goes where the scene looks for it.
      var rel = it.path.indexOf('/') >= 0 ? it.path.slice(it.path.indexOf('/') + 1) : it.path;
      placeFor(rel, refs).forEach(function (p) { writeFile(cur.folder, p, it.bytes); written++; });
    });
    var tab = cur.tab;
    loadTexts();
    renderTabs();
    cur.tab = null;
    showTab(cur.texts.hasOwnProperty(tab) ? tab : 'scene.txt');
    runCheck();
    setMessage('added ' + plural(written, 'dropped file') + ' to ' + cur.name + ': press reload to see them');
  }

  // Every .obj and .mtl path named in these texts (the scene and its meshes).
  function referencedPaths(texts) {
    var refs = {};
    texts.forEach(function (t) {
      if (!t) return;
      var re = /(?:^|\s)([^\s'"]+\.(?:obj|mtl))(?=\s|$)/gim, m;
      while ((m = re.exec(t))) refs[m[1].replace(/^\.\//, '')] = true;
    });
    return Object.keys(refs);
  }

  // A file dropped on its own goes where the scene names it (say meshes/box.obj).
  function placeFor(rel, refs) {
    if (rel.indexOf('/') >= 0) return [rel];
    var at = refs.filter(function (r) { return basename(r) === rel && r.indexOf('..') < 0; });
    return at.length ? at : [rel];
  }

  // ---------------------------------------------------------- status line

  function pollStatus() {
    if (!runtimeUp) return;
    try {
      $('ticks').textContent = 'ticks ' + call('qm_ticks', 'number');
    } catch (e) {
      $('ticks').textContent = 'ticks –';
    }
  }

  // What the world holds, from the state JSON. Read after a (re)load only: for a large
  // scene the JSON takes milliseconds to make and is hundreds of kilobytes long.
  function showWorldSize() {
    var s;
    try { s = JSON.parse(call('qm_state', 'string')); } catch (e) { s = null; }
    var parts = [];
    if (s && Array.isArray(s.objects)) parts.push(plural(s.objects.length, 'object'));
    if (s && Array.isArray(s.joints)) parts.push(plural(s.joints.length, 'joint'));
    $('state').textContent = parts.join(', ');
  }

  // --------------------------------------------------------------- start

  quillmoorRuntimeReady = function () {
    runtimeUp = true;
    resolveRuntime();
    try {
      fillMenu();
      applyWorkbench();
      openOrDemo(nameFromHash());
      $('overlay').hidden = true;
      pollStatus();
      setInterval(pollStatus, 250);
      // Truthy and plain, so that a wait on the value ends and the value crosses to a test driver.
      resolveReady(true);
    } catch (err) {
      $('overlay').textContent = 'the viewer failed to start: ' + err;
      setMessage(String(err), true);
      rejectReady(err);
      throw err;
    }
  };

  window.quillmoor = {
    ready: ready,
    module: Module,
    open: function (name) {
      return runtime.then(function () {
        var ok = openName(name);
        if (ok && !/^dropped\//.test(name) && nameFromHash() !== name) {
          location.hash = name;   // cur.name already matches, so hashchange will not reopen
        }
        return ok;
      });
    },
    check: function () { runCheck(); return cur.findings.slice(); },
    current: function () { return { name: cur.name, folder: cur.folder, tab: cur.tab }; }
  };

  var script = document.createElement('script');
  script.src = 'quillmoor.js';
  script.async = true;
  script.onerror = function () {
    $('overlay').textContent = 'quillmoor.js could not be loaded';
    setMessage('quillmoor.js could not be loaded', true);
    rejectReady(new Error('quillmoor.js could not be loaded'));
  };
  document.body.appendChild(script);
})();
